#include "screens/frmIntroK.h"

#include "game/frmKelvo.h"
#include "platform/core/Application.h"
#include "platform/core/Random.h"
#include "screens/Sparkles.h"
#include "screens/frmOptionsK.h"

namespace kelvo {

using namespace platform;

#define CRLF "\r\n"
const char* const FrmIntroK::kStoryText =
    "Mission 1: Defend The Sector" CRLF CRLF
    "Sector 108 is a disputed area. Several rival factions have formed a military coalition against our "
    "Alliance . . ." CRLF CRLF
    "The enemy has launched an uncountable number of waves of invasion ships and missiles . . ." CRLF CRLF
    "As our First Line of Defense, your satellite outpost must take on the bulk of the invasion force . . ." CRLF CRLF
    "Destroy as much of the assault waves as you can!" CRLF CRLF "<<END TRANSMISSION>>";

const char* const FrmIntroK::kInstructionsText =
    "Instructions:" CRLF CRLF
    "Use the ARROW KEYS to move your Defense Satellite and the mouse to point and shoot at enemy ships and "
    "missiles." CRLF CRLF "Try to rack up as high a score as possible from destroying enemies." CRLF CRLF
    "You begin the game with three lives . . . don't waste them." CRLF CRLF
    "If you run out of lives then the game is over." CRLF CRLF
    "To start, select a Satellite with which you will use to score points and select a level of difficulty by "
    "setting the speed. The faster the tougher . . ." CRLF CRLF "[CLICK ANYWHERE TO CONTINUE]";
#undef CRLF

namespace {

constexpr Color kStoryColour = colors::Red;            // 255
constexpr Color kInstructionsColour = colors::Yellow;  // 65535
const Font kChoiceFont{"MS Sans Serif", 9.75f, true, 700};

struct SatelliteClass {
    const char* first;
    const char* second;
};
constexpr SatelliteClass kClasses[4] = {
    {"", ""},
    {"Light Point Defense Beacon:", "fast and small, easily damaged"},
    {"Medium Orbital Defense Satellite:", "more durable but slower duration orbits"},
    {"Heavy Orbital Battle Station:", "a powerful orbiting fortress, very slow and bulky"}};

}  // namespace

FrmIntroK::FrmIntroK(Game& owner) : GameForm("frmIntroK", owner) {
    tmrText.Tick = [this] { tmrText_Timer(); };
    tmrTitle.Tick = [this] { tmrTitle_Timer(); };
    tmrColours.Tick = [this] { tmrColours_Timer(); };
    lblScroll.Click = [this] { lblScroll_Click(); };
    lblTitle.Click = [this] { lblTitle_Click(); };
    for (std::int16_t i = 1; i <= 3; ++i) optSatellite(i).Click = [this, i] { optSatellite_Click(i); };
    cmdEnter.Click = [this] { cmdEnter_Click(); };
}

void FrmIntroK::InitializeComponent() {
    setDesign({.clientWidth = 8070,
               .clientHeight = 5505,
               .position = StartUpPosition::CenterScreen,
               .icon = "",
               .mouseIcon = "",
               .fullScreen = true});
    Caption = "Form1";
    BackColor = colors::Black;
    DrawWidth = 1;
    setTimers({&tmrText, &tmrTitle, &tmrColours});

    fraSat.Move(1260, 840, 5595, 4095);
    fraSat.Caption = "Choose Your Defense Satellite:";
    fraSat.BackColor = colors::Black;
    fraSat.ForeColor = colors::Red;
    fraSat.Font = kChoiceFont;
    fraSat.Visible = false;

    cmdEnter.Move(2220, 3540, 1215, 495);
    cmdEnter.Caption = "ENTER";
    cmdEnter.BackColor = colors::Yellow;
    cmdEnter.Font = kChoiceFont;
    cmdEnter.TabIndex = 7;
    cmdEnter.Visible = true;

    for (int i = optSatellite.LBound(); i <= optSatellite.UBound(); ++i) {
        OptionButton& opt = optSatellite(i);
        opt.Move(60, 240.0f + 1080.0f * static_cast<float>(i - 1), 1215, 1035);
        opt.Caption = "Satellite " + std::to_string(i);
        opt.Picture = LoadPicture("satellite" + std::to_string(i));
        opt.BackColor = colors::Navy;
        opt.ForeColor = colors::Red;
        opt.Font = Font{};
        opt.Value = false;
        opt.TabIndex = 6 - i;
    }

    lblChoice.Move(1320, 240, 4155, 975);
    lblChoice.Caption = "";
    lblChoice.BackColor = colors::DarkGrey;
    lblChoice.Transparent = false;
    lblChoice.ForeColor = colors::Green;
    lblChoice.BorderSingle = true;
    lblChoice.WordWrap = true;
    lblChoice.AutoSize = false;
    lblChoice.Font = Font{};
    lblChoice.Visible = false;

    tmrText.Interval = 0;
    tmrTitle.Interval = 0;
    tmrColours.Interval = kColoursPeriod;

    shpBorder.Move(60, 60, 7995, 5415);
    shpBorder.BorderColor = colors::Cyan;
    shpBorder.BorderSolid = true;
    shpBorder.FillSolid = false;

    lblScroll.AutoSize = false;
    lblScroll.Move(60, 300, 5745, 300);
    lblScroll.Caption = "";
    lblScroll.ForeColor = kStoryColour;
    lblScroll.Transparent = true;
    lblScroll.Align = Alignment::Center;
    lblScroll.Font = Font{"MS Sans Serif", 12.0f, true, 700};
    lblScroll.WordWrap = true;
    lblScroll.AutoSize = true;

    lblTitle.AutoSize = false;
    lblTitle.Move(4350, 60, 1140, 210);
    lblTitle.Caption = "Orvane";
    lblTitle.ForeColor = colors::Yellow;
    lblTitle.Transparent = true;
    lblTitle.Align = Alignment::Center;
    lblTitle.WordWrap = false;
    lblTitle.Font = Font{"Westminster", 8.25f, false, 800};
    lblTitle.AutoSize = true;

    setDeclarationOrder({&fraSat, &cmdEnter, &optSatellite(1), &optSatellite(2), &optSatellite(3), &lblChoice,
                         &shpBorder, &lblScroll, &lblTitle});
}

void FrmIntroK::Form_Load() {
    TitleSize = 8;
    TitleStep = 1;
    tmrTitle.Interval = kTitlePeriod;
    tmrText.Interval = kTextPeriod;
    setWidth(ScreenWidth());
    setHeight(ScreenHeight());
    lblTitle.Left = ScaleLeft();
    lblTitle.Width = ScaleWidth();
    lblScroll.Left = ScaleLeft();
    lblScroll.Width = ScaleWidth();
    fraSat.Left = ScaleWidth() / 2 - fraSat.Width / 2;
    fraSat.Top = ScaleHeight() / 2 - fraSat.Height / 2;
    shpBorder.Left = Left();
    shpBorder.Top = Top();
    shpBorder.Width = ScaleWidth();
    shpBorder.Height = ScaleHeight();
}

void FrmIntroK::Form_Activate() {
    if (BriefingPage == 0) {
        lblScroll.Top = ScaleHeight();
        lblScroll.Caption = kStoryText;
    } else if (BriefingPage == 1) {
        lblScroll.Top = ScaleHeight();
        lblScroll.Caption = kInstructionsText;
        lblScroll.ForeColor = kInstructionsColour;
    }
}

// The page shown is told by the text's colour; the main window's visibility
// tells start-up (leading on to the choice) from the Help menu (closing).
void FrmIntroK::Form_Click() {
    const Color C = lblScroll.ForeColor;
    const bool V = frmKelvo().Visible();
    if (C == kStoryColour && !V) {
        lblScroll.Top = ScaleHeight();
        lblScroll.Caption = kInstructionsText;
        lblScroll.ForeColor = kInstructionsColour;
    } else if (C == kInstructionsColour && !V) {
        fraSat.Visible = true;
        lblChoice.Visible = true;
        optSatellite(1).Value = true;
        cmdEnter.Visible = true;
    } else {
        Unload();
        SpeedChoice = 0;
    }
}

// Closing the briefing window at start-up or at New Game, before a satellite
// is chosen, ends the program as Exit does (a high-score window left open by
// the last game goes too); from the Help menu it just closes, like a click.
void FrmIntroK::Form_CloseRequested() {
    if (!frmKelvo().Visible()) {
        frmKelvo().mnuExit_Click();
        return;
    }
    Unload();
    SpeedChoice = 0;
}

void FrmIntroK::resetTitle() {
    lblTitle.setFontSize(8);
    TitleSize = 8;
    TitleStep = 1;
}

void FrmIntroK::tmrTitle_Timer() {
    const float r1 = Rnd(), r2 = Rnd(), r3 = Rnd();
    lblTitle.ForeColor = RGB(CInt(r1 * 255.0f + 1.0f), CInt(r2 * 255.0f + 1.0f), CInt(r3 * 255.0f + 1.0f));

    if (lblTitle.Width < Width()) {
        if (TitleSize + 1 > kTitleSizeLimit) return resetTitle();
        TitleSize = static_cast<std::int16_t>(TitleSize + 1);
        lblTitle.setFontSize(TitleSize);
    } else if (Height() * 5 > lblTitle.Height) {
        if (TitleSize + TitleStep > kTitleSizeLimit) return resetTitle();
        TitleSize = static_cast<std::int16_t>(TitleSize + TitleStep);
        TitleStep = static_cast<std::int16_t>(TitleStep + 1);
        lblTitle.setFontSize(TitleSize);
    } else {
        resetTitle();
    }
}

void FrmIntroK::tmrText_Timer() {
    lblScroll.Top = lblScroll.Top - 20;
    if (lblScroll.Height + lblScroll.Top < 0) lblScroll.Top = ScaleHeight();
}

void FrmIntroK::tmrColours_Timer() { shpBorder.BorderColor = DrawSparkles(*this); }

void FrmIntroK::optSatellite_Click(std::int16_t Index) {
    if (Index >= optSatellite.LBound() && Index <= optSatellite.UBound())
        lblChoice.Caption = std::string(kClasses[Index].first) + "\r\n" + kClasses[Index].second;
    lblChoice.Top = optSatellite(Index).Top;
    Satellite = Index;
    for (OptionButton& opt : optSatellite) opt.BackColor = colors::Navy;
    optSatellite(Index).BackColor = colors::Cyan;
}

void FrmIntroK::cmdEnter_Click() {
    fraSat.Visible = false;
    SpeedChoice = 1;
    frmOptionsK().Show(vbModal);
}

}  // namespace kelvo
