// The three structure lists: basic group, superstructure group, common name.
#include <cmath>

#include "model/FieldReaders.h"
#include "window/PatternForm.h"

namespace quorvex::window {

namespace {

struct CommonMatrix {
    Long m11, m12, m21, m22;
};

// The matrix of each common name, rows 0..25.
constexpr CommonMatrix kCommonMatrix[model::CommonNameShown] = {
    {1, 0, 0, 1},  {1, 0, 0, 1},  {1, 0, 0, 2},  {2, 0, 0, 1},   {2, 0, 0, 2},  {3, 0, 0, 1},
    {3, 0, 0, 2},  {3, 0, 0, 3},  {7, 0, 0, 7},  {1, -1, 1, 1},  {2, -1, 2, 1}, {2, 0, 1, 2},
    {2, -2, 2, 2}, {3, -1, 3, 1}, {4, -1, 4, 1}, {1, -1, 1, 1},  {2, 1, -1, 2}, {2, 2, -1, 1},
    {2, 1, 1, 2},  {3, 2, 2, 3},  {1, -1, 1, 2}, {2, -1, 1, 3},  {2, -2, 2, 4}, {4, 0, 2, 4},
    {2, 2, -5, 5}, {3, 1, 1, 3},
};

}  // namespace

void PatternForm::ApplyCommonName(Long row) {
    if (row <= 1) {
        m_.M11 = 1;
        m_.M12 = 0;
        m_.M21 = 0;
        m_.M22 = 1;
    } else if (row <= 25) {
        const CommonMatrix& c = kCommonMatrix[row];
        m_.M11 = c.m11;
        m_.M12 = c.m12;
        m_.M21 = c.m21;
        m_.M22 = c.m22;
    }
    // Rows outside the list show nothing new; the list keeps its text.
    if (row >= 0 && row < Combo3->count()) Combo3->setCurrentIndex(row);
    ShowMatrixFields();
}

void PatternForm::ApplyLatticeFieldVisibility() {
    const bool oblique = m_.BasicGroup <= 2;
    const bool rectangular = m_.BasicGroup >= 3 && m_.BasicGroup <= 9;
    Label4->setVisible(oblique || rectangular);
    Text2->setVisible(oblique || rectangular);
    Label5->setVisible(oblique);
    Text3->setVisible(oblique);
}

void PatternForm::Combo1_Click() {
    const Long old = m_.BasicGroup;
    m_.BasicGroup = Combo1->currentIndex() + 1;
    if (m_.BasicGroup != old) {
        Label4->hide();
        Label5->hide();
        Text2->hide();
        Text3->hide();
        if (m_.BasicGroup <= 2) {
            m_.LatticeA = std::sqrt(2.0);
            m_.LatticeB = 1.0;
            m_.LatticeAlpha = 55.0;
        } else if (m_.BasicGroup <= 9) {
            m_.LatticeA = std::sqrt(2.0);
            m_.LatticeB = 1.0;
            m_.LatticeAlpha = 90.0;
        } else if (m_.BasicGroup <= 12) {
            m_.LatticeA = 1.0;
            m_.LatticeB = 1.0;
            m_.LatticeAlpha = 90.0;
        } else {
            m_.LatticeA = 1.0;
            m_.LatticeB = 1.0;
            m_.LatticeAlpha = 120.0;
        }
        ApplyLatticeFieldVisibility();
        ShowLatticeFields();
        if (m_.GroupLatticeType[m_.BasicGroup] != m_.GroupLatticeType[old]) {
            SetRotation(0, 1, 0);
            m_.CommonNameIndex = 1;
            ApplyCommonName(1);
            SetCheck(Check3, false);
            Check2->hide();
            Label19->hide();
            m_.LatMag = 1.0;
            m_.PatMag = 1.0;
        }
        m_.ResetSuperGroup = true;
        m_.SuperGroup = m_.BasicGroup;
    }
    Combo1->setCurrentIndex(m_.BasicGroup - 1);
    Combo2->setCurrentIndex(m_.SuperGroup - 1);
    UpdateAll(1, 0);
}

void PatternForm::Combo2_Click() {
    const Long old = m_.SuperGroup;
    m_.SuperGroup = Combo2->currentIndex() + 1;
    if (m_.SuperGroup != old) UpdateAll(1, 0);
}

void PatternForm::Combo3_Click() {
    m_.CommonNameIndex = Combo3->currentIndex();
    Combo3->setCurrentIndex(m_.CommonNameIndex);
    ApplyCommonName(m_.CommonNameIndex);
    m_.ResetSuperGroup = true;
    m_.LatMag = 1.0;
    UpdateAll(1, 0);
}

}  // namespace quorvex::window
