#pragma once
#include <QWidget>
namespace quorvex::window {
class PatternForm : public QWidget {
    Q_OBJECT
public:
    PatternForm();
};
}
