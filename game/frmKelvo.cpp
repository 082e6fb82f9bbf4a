// The main window: its design, its start-up (Form_Load) and the set-up it
// repeats each time it becomes active (Form_Activate).

#include "game/frmKelvo.h"

#include <string>

#include "game/Captions.h"
#include "platform/core/Application.h"
#include "platform/core/Random.h"
#include "screens/Sparkles.h"
#include "screens/frmIntroK.h"

namespace kelvo {

using namespace platform;

namespace {

const Font kLevelFont{"MS Sans Serif", 13.5f, true, 700};
const Font kMessageFont{"MS Sans Serif", 24.0f, true, 700};
const Font kScoreFont{"MS Sans Serif", 12.0f, true, 700};

// The default table's names, in the order they are placed at random ranks.
constexpr const char* kDefaultTeams[RankArray<std::string>::UBound()] = {
    "Alpha Squadron", "Beta Squadron", "Gamma Team",       "Delta Force", "Epsilon Team",
    "Nova Squadron",  "Aurora Fleet",  "Omnicron Command", "Sigma Corps", "Omega Force"};

struct SpriteDesign {
    float left, top, width, height;
};
// Ships and missiles wait at the top edge, hidden, at these places.
constexpr SpriteDesign kShipDesign[FrmKelvo::kShips] = {{120, 0, 960, 600},  {1140, 0, 900, 675}, {2040, 0, 960, 675},
                                                        {4140, 0, 900, 510}, {3120, 0, 960, 720}, {5100, 0, 960, 720},
                                                        {6480, 0, 960, 720}, {7200, 0, 960, 720}, {8160, 0, 960, 720}};
constexpr SpriteDesign kMissileDesign[FrmKelvo::kMissiles] = {
    {2040, 0, 75, 420}, {4140, 0, 90, 420},  {5040, 0, 75, 435},  {9000, 0, 360, 885},  {3000, 0, 165, 630},
    {0, 0, 195, 705},   {7320, 0, 225, 375}, {5940, 0, 450, 450}, {7920, 0, 360, 1185}, {1020, 0, 210, 450}};

void placeSprite(Image& img, const std::string& picture, const SpriteDesign& d, bool visible, bool enabled) {
    img.Picture = LoadPicture(picture);
    img.Move(d.left, d.top, d.width, d.height);
    img.Visible = visible;
    img.Enabled = enabled;
}

}  // namespace

FrmKelvo::FrmKelvo(Game& owner) : GameForm("frmKelvo", owner) {
    mnuGame.setItems({&mnuNew, &mnuReset, &mnuPause, &mnuScore, &mnudash1, &mnuExit});
    mnuOptions.setItems({&mnuSpeed});
    mnuHelp.setItems({&mnuIntro, &mnuInstruct, &mnudash, &mnuAbout});
    connectPlayEvents();
    connectFlowEvents();
}

FrmKelvo::~FrmKelvo() = default;

void FrmKelvo::InitializeComponent() {
    setDesign({.clientWidth = 9345,
               .clientHeight = 6000,
               .position = StartUpPosition::CenterScreen,
               .icon = "icon",
               .mouseIcon = "cursor",
               .fullScreen = true});
    Caption = "Orvane Game";
    BackColor = colors::Black;
    KeyPreview = false;
    DrawWidth = 1;

    setTimers({&tmrLevel, &tmrKelvo, &tmrLost, &tmrStars, &tmrMissile2, &tmrMissile1, &tmrBang, &tmrShip2, &tmrShip1});
    for (Timer* t : timers()) t->Interval = 0;

    framLives.Move(120, 4860, 2115, 975);
    framLives.Caption = "Lives";
    framLives.BackColor = colors::Black;
    framLives.ForeColor = colors::Yellow;
    framLives.Font = Font{};
    framLives.Visible = true;

    shpHPBorder.Move(60, 780, 1995, 135);
    shpHPBorder.BorderColor = colors::White;
    shpHPBorder.BorderSolid = true;
    shpHPBorder.FillColor = colors::Green;
    shpHPBorder.FillSolid = false;

    shpHPBar.Move(60, 780, 1995, 135);
    shpHPBar.BorderSolid = false;
    shpHPBar.FillColor = colors::Green;
    shpHPBar.FillSolid = true;

    for (int i = imgLife.LBound(); i <= imgLife.UBound(); ++i) {
        imgLife(i).Picture = Picture{};
        imgLife(i).Move(180.0f + 480.0f * static_cast<float>(i), 240, 495, 495);
        imgLife(i).Visible = true;
    }

    imgExplode.Picture = Picture{};
    imgExplode.Move(3840, 3480, 1500, 1155);
    imgExplode.Visible = true;

    lblLevel.Move(0, 0, 1695, 375);
    lblLevel.Caption = LevelCaption(1);
    lblLevel.ForeColor = colors::Red;
    lblLevel.Transparent = true;
    lblLevel.Font = kLevelFont;
    lblLevel.Align = Alignment::LeftJustify;

    lblMessage.Move(2880, 1800, 2355, 795);
    lblMessage.Caption = "";
    lblMessage.ForeColor = colors::Red;
    lblMessage.Transparent = true;
    lblMessage.Align = Alignment::Center;
    lblMessage.Font = kMessageFont;

    for (int i = imgBlastC.LBound(); i <= imgBlastC.UBound(); ++i)
        placeSprite(imgBlastC(i), "blast" + std::string(i < 10 ? "0" : "") + std::to_string(i),
                    {2205, 3495, 1500, 1155}, false, true);
    for (int i = imgMissile.LBound(); i <= imgMissile.UBound(); ++i)
        placeSprite(imgMissile(i), "missile" + std::to_string(i), kMissileDesign[i], false, false);
    for (int i = imgShip.LBound(); i <= imgShip.UBound(); ++i)
        placeSprite(imgShip(i), "ship" + std::to_string(i), kShipDesign[i], false, false);
    placeSprite(imgSatellite(1), "satellite1", {7020, 3720, 360, 375}, false, true);
    placeSprite(imgSatellite(2), "satellite2", {5760, 4320, 960, 720}, false, true);
    placeSprite(imgSatellite(3), "satellite3", {6720, 4320, 960, 720}, false, true);

    linKelvo.X1 = 3960;
    linKelvo.Y1 = 5520;
    linKelvo.X2 = 3975;
    linKelvo.Y2 = 5535;
    linKelvo.BorderColor = colors::Red;
    linKelvo.BorderWidth = 1;
    linKelvo.Visible = true;

    placeSprite(imgBlaster, "satellite1", {3780, 5340, 360, 375}, true, true);

    lblScore.Move(5760, 5340, 2175, 495);
    lblScore.Caption = "0";
    lblScore.ForeColor = colors::White;
    lblScore.BackColor = colors::Black;
    lblScore.Transparent = true;
    lblScore.BorderSingle = true;
    lblScore.Align = Alignment::RightJustify;
    lblScore.Font = kScoreFont;

    for (MenuItem* m : {&mnuGame, &mnuNew, &mnuReset, &mnuPause, &mnuScore, &mnudash1, &mnuExit, &mnuOptions, &mnuSpeed,
                        &mnuHelp, &mnuIntro, &mnuInstruct, &mnudash, &mnuAbout}) {
        m->Checked = false;
        m->Enabled = true;
        m->Visible = true;
    }
    setMenus({&mnuGame, &mnuOptions, &mnuHelp});

    // What lies above what: later in this list is in front; the lives panel
    // lies above all of them. The hull bar's white outline lies above the bar,
    // so that it shows at a full hull too.
    setDeclarationOrder({&framLives,       &shpHPBar,        &shpHPBorder,     &imgLife(0),    &imgLife(1),
                         &imgLife(2),      &imgExplode,      &lblLevel,        &lblMessage,    &imgBlastC(15),
                         &imgBlastC(14),   &imgBlastC(13),   &imgBlastC(12),   &imgBlastC(11), &imgBlastC(10),
                         &imgBlastC(9),    &imgBlastC(8),    &imgBlastC(7),    &imgBlastC(6),  &imgBlastC(5),
                         &imgBlastC(4),    &imgBlastC(3),    &imgBlastC(2),    &imgBlastC(1),  &imgBlastC(0),
                         &imgMissile(3),   &imgMissile(8),   &imgMissile(7),   &imgMissile(6), &imgShip(8),
                         &imgShip(6),      &imgShip(7),      &imgSatellite(1), &linKelvo,      &imgBlaster,
                         &imgSatellite(3), &imgSatellite(2), &imgMissile(5),   &imgMissile(9), &imgMissile(1),
                         &imgMissile(0),   &imgMissile(2),   &imgMissile(4),   &lblScore,      &imgShip(0),
                         &imgShip(4),      &imgShip(2),      &imgShip(5),      &imgShip(1),    &imgShip(3)});
}

void FrmKelvo::Form_Load() {
    Lives = 3;
    Level = 1;

    setWidth(ScreenWidth());
    setHeight(ScreenHeight());

    // The briefing: story, instructions, satellite class and speed. The main
    // window is not yet visible while it runs.
    frmIntroK().Show(vbModal);
    if (!IsLoaded()) return;  // the player ended the program from the briefing

    // Each team name lands in a free rank at random, with a reseed before every draw.
    constexpr auto ranks = static_cast<float>(TeamNames.UBound());
    for (const char* name : kDefaultTeams) {
        for (;;) {
            Randomize();
            const int k = static_cast<int>(Int(Rnd() * ranks + 1.0f));
            if (k >= TeamNames.LBound() && k <= TeamNames.UBound() && TeamNames(k).empty()) {
                TeamNames(k) = name;
                break;
            }
        }
    }

    for (int rank = HighScores.LBound(); rank <= HighScores.UBound(); ++rank) HighScores(rank) = 51200 >> (rank - 1);

    lblMessage.Left = 0;
    lblMessage.Top = ScaleHeight() / 2 - 1000;
    lblMessage.Width = ScaleWidth();
    lblMessage.Height = Height() / 2 - 1000;

    imgBlaster.Left = Width() / 2;
    imgBlaster.Top = Height() - imgBlaster.Height - 1500;

    lblMessage.Caption = LevelCaption(1);
    tmrLevel.Interval = kLevelShown;
    ++GamesStarted;
}

void FrmKelvo::DrawStarField() {
    DrawWidth = 1;
    Cls();
    for (int i = 1; i <= kFieldPoints; ++i) {
        const float r1 = Rnd();
        const std::int32_t x = CInt(static_cast<float>(Int(ScaleWidth() + 1.0f)) * r1);
        const float r2 = Rnd();
        const std::int32_t y = CInt(static_cast<float>(Int(ScaleHeight() + 1.0f)) * r2);
        PSet(static_cast<float>(x), static_cast<float>(y), RGB(255, 255, 255));
    }
}

void FrmKelvo::Form_Activate() {
    DrawStarField();

    Hull = Satellite;

    lblScore.Left = ScaleWidth() - lblScore.Width - 100;
    lblScore.Top = ScaleHeight() - lblScore.Height - 500;

    imgBlaster.Picture = imgSatellite(Satellite).Picture;
    linKelvo.BorderWidth = Satellite;

    // The beam at rest: a single point on the satellite's centre.
    linKelvo.X1 = imgBlaster.Left + imgBlaster.Width / 2;
    linKelvo.X2 = imgBlaster.Left + imgBlaster.Width / 2;
    linKelvo.Y1 = imgBlaster.Top + imgBlaster.Height / 2;
    linKelvo.Y2 = imgBlaster.Top + imgBlaster.Height / 2;

    // The lives panel: three icons of the class, edge to edge, the hull bar under them.
    for (Image& life : imgLife) life.Picture = imgBlaster.Picture;
    imgLife(0).Left = 50;
    imgLife(1).Left = imgLife(0).Left + imgLife(0).Width;
    imgLife(2).Left = imgLife(1).Left + imgLife(1).Width;

    shpHPBorder.Top = imgLife(0).Top + imgLife(0).Height + 10;
    shpHPBorder.Width = imgLife(2).Left + imgLife(2).Width - shpHPBorder.Left;
    shpHPBar.Top = shpHPBorder.Top;
    if (imgBlaster.Visible) shpHPBar.Width = shpHPBorder.Width;

    framLives.Width = imgLife(2).Left + imgLife(2).Width + 50;
    framLives.Height = shpHPBorder.Top + shpHPBorder.Height + 50;
    framLives.Top = ScaleHeight() - framLives.Height - 500;

    // Play goes on only if it was not paused: a click back into this window
    // from the high-score window keeps a pause in force.
    if (imgBlaster.Visible && !mnuPause.Checked) RunPlayTimers(true);
}

void FrmKelvo::RunPlayTimers(bool run) {
    auto period = [run](int ms) { return run ? ms : 0; };
    tmrShip1.Interval = period(kShipPeriod);
    tmrShip2.Interval = period(kShipPeriod);
    tmrMissile1.Interval = period(kMissileMovePeriod);
    tmrMissile2.Interval = period(kMissileDropPeriod);
    tmrStars.Interval = period(kStarsPeriod);
}

}  // namespace kelvo
