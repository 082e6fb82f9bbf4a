#pragma once
// The high-score screen: the ten best results over flickering sparks. Its
// activation is where a finished game's score enters the table.

#include "game/modKelvo.h"

namespace kelvo {

class FrmScoreK final : public GameForm {
public:
    explicit FrmScoreK(Game& owner);

    platform::Label lblTitle{*this};
    // The rank numbers "1" to "10", each in its row's colour.
    platform::Label lbl1{*this}, lbl2{*this}, lbl3{*this}, lbl4{*this}, lbl5{*this};
    platform::Label lbl6{*this}, lbl7{*this}, lbl8{*this}, lbl9{*this}, lbl10{*this};
    platform::ControlArray<platform::Label, 1, 10> lblName{*this};
    platform::ControlArray<platform::Label, 1, 10> lblScore{*this};
    platform::CommandButton cmdDone{*this};
    platform::Shape shpBorder{*this};
    platform::Timer tmrColours;

    static constexpr int kColoursPeriod = 100;  // tmrColours, ms

    // Enters a waiting score (NewScore) first, then fills the rows from the table.
    void Form_Activate() override;
    void tmrColours_Timer();
    void cmdDone_Click();

    // Enters Score under PlayerName into the table when it reaches the tenth
    // score: above every entry with the same score, the tenth entry dropping
    // out. Clears NewScore.
    void InsertNewScore();

protected:
    void InitializeComponent() override;

private:
    platform::Label* const rankLabels_[10] = {&lbl1, &lbl2, &lbl3, &lbl4, &lbl5, &lbl6, &lbl7, &lbl8, &lbl9, &lbl10};
};

}  // namespace kelvo
