#pragma once
// The high-score screen: the ten best results over flickering sparks.

#include "platform/Form.h"

namespace kelvo {

class FrmScoreK final : public platform::Form {
public:
    FrmScoreK();

    platform::Label lblTitle{*this};
    platform::ControlArray<platform::Label, 1, 10> lblRank{*this};  // lbl1 ... lbl10
    platform::ControlArray<platform::Label, 1, 10> lblName{*this};
    platform::ControlArray<platform::Label, 1, 10> lblScore{*this};
    platform::CommandButton cmdDone{*this};
    platform::Shape shpBorder{*this};
    platform::Timer tmrColours;

    void Form_Activate() override;
    void tmrColours_Timer();
    void cmdDone_Click();

protected:
    void InitializeComponent() override;
};

// Enters Score under PlayerName into the table, ties placed above, and clears NewScore.
void InsertNewScore();

}  // namespace kelvo
