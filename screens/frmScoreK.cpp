#include "screens/frmScoreK.h"

#include <iterator>
#include <string>

#include "game/Captions.h"
#include "screens/Sparkles.h"

namespace kelvo {

using namespace platform;

namespace {

// Rank colours repeat every five ranks: red, orange, yellow, green, cyan.
constexpr Color kRankColours[5] = {colors::Red, colors::Orange, colors::Yellow, colors::Green, colors::Cyan};
const Font kTitleFont{"MS Sans Serif", 18.0f, true, 700};
const Font kDoneFont{"MS Sans Serif", 13.5f, true, 700};

}  // namespace

// One pass from the bottom rank up. Wherever the score reaches a rank's old
// score, that entry moves one down (over the new entry placed there the step
// before) and the new entry takes its place, so it ends above every equal score.
void FrmScoreK::InsertNewScore() {
    for (int b = HighScores.UBound(); b >= HighScores.LBound(); --b) {
        if (Score >= HighScores(b)) {
            if (b < HighScores.UBound()) {
                TeamNames(b + 1) = TeamNames(b);
                HighScores(b + 1) = HighScores(b);
            }
            TeamNames(b) = PlayerName;
            HighScores(b) = Score;
        }
    }
    NewScore = False;
}

FrmScoreK::FrmScoreK(Game& owner) : GameForm("frmScoreK", owner) {
    tmrColours.Tick = [this] { tmrColours_Timer(); };
    cmdDone.Click = [this] { cmdDone_Click(); };
}

void FrmScoreK::InitializeComponent() {
    setDesign({.clientWidth = 4620,
               .clientHeight = 5310,
               .position = StartUpPosition::CenterScreen,
               .icon = "",
               .mouseIcon = "",
               .fullScreen = false});
    Caption = "High Scores";
    BackColor = colors::Black;
    DrawWidth = 1;
    setTimers({&tmrColours});

    lblTitle.Move(1080, 120, 2355, 435);
    lblTitle.Caption = "High Scores";
    lblTitle.ForeColor = colors::Yellow;
    lblTitle.BackColor = colors::Black;
    lblTitle.Transparent = false;
    lblTitle.Align = Alignment::Center;
    lblTitle.Font = kTitleFont;

    // Rows 420 twips apart; a rank number stands 60 twips lower than its boxes.
    for (int i = lblName.LBound(); i <= lblName.UBound(); ++i) {
        const Color colour = kRankColours[static_cast<std::size_t>(i - 1) % std::size(kRankColours)];
        const float row = 420.0f * static_cast<float>(i - 1);
        Label& rank = *rankLabels_[i - 1];
        rank.Move(180, 720 + row, 315, 315);
        rank.Caption = std::to_string(i);
        rank.ForeColor = colour;
        rank.BackColor = colors::Black;
        rank.Transparent = false;
        rank.BorderSingle = false;
        rank.Font = Font{};
        for (Label* box : {&lblName(i), &lblScore(i)}) {
            box->Caption = "";
            box->ForeColor = colour;
            box->BackColor = colors::Black;
            box->Transparent = false;
            box->BorderSingle = true;
            box->Font = Font{};
        }
        lblName(i).Move(600, 660 + row, 2595, 315);
        lblName(i).Align = Alignment::LeftJustify;
        lblScore(i).Move(3300, 660 + row, 1275, 315);
        lblScore(i).Align = Alignment::RightJustify;
    }

    cmdDone.Move(1680, 4800, 1215, 495);
    cmdDone.Caption = "&DONE";
    cmdDone.BackColor = colors::Yellow;
    cmdDone.Font = kDoneFont;
    cmdDone.TabIndex = 0;

    shpBorder.Move(0, 0, 4615, 5305);
    shpBorder.BorderColor = colors::LightCyan;
    shpBorder.BorderSolid = true;
    shpBorder.FillSolid = false;

    tmrColours.Interval = kColoursPeriod;
}

void FrmScoreK::Form_Activate() {
    if (NewScore) InsertNewScore();
    for (int i = lblName.LBound(); i <= lblName.UBound(); ++i) {
        lblName(i).Caption = TeamNames(i);
        lblScore(i).Caption = PlainNumber(HighScores(i));
    }
}

void FrmScoreK::tmrColours_Timer() {
    const Color colour = DrawSparkles(*this);
    lblTitle.ForeColor = colour;
    cmdDone.BackColor = colour;
    shpBorder.BorderColor = colour;
}

void FrmScoreK::cmdDone_Click() { Unload(); }

}  // namespace kelvo
