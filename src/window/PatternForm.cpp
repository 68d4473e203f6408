#include "window/PatternForm.h"
namespace quorvex::window {
PatternForm::PatternForm() { setObjectName("PatternForm"); }
}
