#!/usr/bin/env python3
"""Breaks the game on purpose, one fault at a time, and checks that a test notices.

    tools/mutants.py BUILD_DIR [FILTER]

BUILD_DIR is a configured build with the tests (for example build-tests).
Each mutant below replaces one piece of text in one source file; the tests
are rebuilt and run, then the kept recordings, and the source is put back. A mutant that every test
survives is a fault nobody would notice: add a test, or explain why it is
harmless. FILTER runs only the mutants whose name contains it.
"""

import os
import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

# (name, file, text, replacement[, CTest test]): with a test named, that test
# (a test of the built program or its package) is the one that must fail.
MUTANTS = [
    # The satellite
    ("right edge counts", "game/frmKelvo_Play.cpp", "imgBlaster.Width < ScaleWidth", "imgBlaster.Width <= ScaleWidth"),
    ("bottom edge counts", "game/frmKelvo_Play.cpp", "imgBlaster.Height < ", "imgBlaster.Height <= "),
    ("left edge counts", "game/frmKelvo_Play.cpp", "if (imgBlaster.Left > 0)", "if (imgBlaster.Left >= 0)"),
    ("top edge counts", "game/frmKelvo_Play.cpp", "if (imgBlaster.Top > 0)", "if (imgBlaster.Top >= 0)"),
    ("one step for every class", "game/frmKelvo_Play.cpp", "150.0 / Satellite", "150.0"),
    ("beam's far end stays", "game/frmKelvo_Play.cpp",
     "Prop<float>& beamEnd, Prop<float>& satelliteEnd, double direction) {\n"
     "        for (Prop<float>* coordinate : {&sprite, &beamEnd, &satelliteEnd})",
     "Prop<float>&, Prop<float>& satelliteEnd, double direction) {\n"
     "        for (Prop<float>* coordinate : {&sprite, &satelliteEnd})"),
    ("keys work while paused", "game/frmKelvo_Play.cpp",
     "if (!imgBlaster.Visible || mnuPause.Checked) return;\n    const double step",
     "if (!imgBlaster.Visible) return;\n    const double step"),
    # The beam
    ("beam fires while paused", "game/frmKelvo_Play.cpp",
     "if (!imgBlaster.Visible || mnuPause.Checked) return;\n    linKelvo.X1 = X;",
     "if (!imgBlaster.Visible) return;\n    linKelvo.X1 = X;"),
    ("hit box misses its left edge", "game/frmKelvo_Play.cpp", "return x >= box.Left &&", "return x > box.Left &&"),
    ("hit box misses its bottom edge", "game/frmKelvo_Play.cpp", "box.Top + box.Height >= ", "box.Top + box.Height > "),
    ("fire can be shot", "game/frmKelvo_Play.cpp", "j < imgMissile.LBound() + ", "j <= imgMissile.LBound() + "),
    ("shot explosion misplaced", "game/frmKelvo_Play.cpp", "shootDown(ship, 200, 100)", "shootDown(ship, 100, 100)"),
    ("ships score ten", "game/frmKelvo_Play.cpp", "shootDown(ship, 200, 100)", "shootDown(ship, 200, 10)"),
    ("press writes the spaced score", "game/frmKelvo_Play.cpp", "PlainNumber(Score);  //", "SpacedNumber(Score);  //"),
    ("beam never times out", "game/frmKelvo_Play.cpp", "    tmrKelvo.Interval = kBeamShown;\n", "\n"),
    ("release keeps the beam", "game/frmKelvo_Play.cpp", "float /*Y*/) {\n    tmrKelvo_Timer();", "float /*Y*/) {"),
    ("band press unshifted", "game/frmKelvo_Play.cpp", "Form_MouseDown(Button, Shift, X, Y + lblMessage.Top)",
     "Form_MouseDown(Button, Shift, X, Y)"),
    # Enemies
    ("bottom edge is the client area", "game/frmKelvo_Play.cpp", "bottom = k.Height();", "bottom = k.ScaleHeight();"),
    ("enemies fall twenty", "game/frmKelvo_Play.cpp", "enemy.Top = enemy.Top + 30;", "enemy.Top = enemy.Top + 20;"),
    ("speed ignored", "game/frmKelvo_Play.cpp", "const int passes = k.Level + k.Speed;", "const int passes = k.Level;"),
    ("escape stays at the bottom", "game/frmKelvo_Play.cpp", "            enemy.Top = 0;\n", "\n"),
    ("hidden satellite struck", "game/frmKelvo_Play.cpp", "k.imgBlaster.Visible && meetsSatellite", "meetsSatellite"),
    ("strike explosion misplaced", "game/frmKelvo_Play.cpp", "k.imgExplode.Top = enemy.Top - 100;",
     "k.imgExplode.Top = enemy.Top;"),
    ("strike explosion at beam pace", "game/frmKelvo.h", "kStrikeBlastFrame = 30;", "kStrikeBlastFrame = 10;"),
    ("ships take one hull point", "game/frmKelvo_Play.cpp", "!imgBlaster.Visible) LoseHull(2);",
     "!imgBlaster.Visible) LoseHull(1);"),
    ("missiles take two hull points", "game/frmKelvo_Play.cpp", "!imgBlaster.Visible) LoseHull(1);",
     "!imgBlaster.Visible) LoseHull(2);"),
    ("strikes re-arm the lost timer", "game/frmKelvo_Play.cpp",
     "if (tmrLost.Interval == 0 && !imgBlaster.Visible) LoseHull(2);", "if (!imgBlaster.Visible) LoseHull(2);"),
    ("hull below zero", "game/frmKelvo_Play.cpp", "std::max(Hull - loss, 0)", "Hull - loss"),
    ("hull bar of three points", "game/frmKelvo_Play.cpp", "static_cast<float>(Satellite) * ", "3.0f * "),
    ("fleet re-forms with a ship flying", "game/frmKelvo_Play.cpp", "    if (!AllHidden(imgShip)) return;\n", "\n"),
    ("missile box misses its right edge", "game/frmKelvo_Play.cpp", "a.Left + a.Width >= ", "a.Left + a.Width > "),
    ("missile box misses the satellite's bottom", "game/frmKelvo_Play.cpp", "b.Height >= a.Top;", "b.Height > a.Top;"),
    ("missile explosion at a ship's offset", "game/frmKelvo_Play.cpp", "imgMissile, 10, 500,", "imgMissile, 10, 200,"),
    ("missiles cost a ship's points on escape", "game/frmKelvo_Play.cpp", "FallPasses(*this, imgMissile, 10, 500,",
     "FallPasses(*this, imgMissile, 100, 500,"),
    ("missile dropped below its ship", "game/frmKelvo_Play.cpp", "missile.Top = ship.Top;",
     "missile.Top = ship.Top + 1;"),
    ("missile dropped beside its ship", "game/frmKelvo_Play.cpp", "Int(ship.Width) * r +", "Int(ship.Width) * 2 * r +"),
    ("missiles re-arm with one flying", "game/frmKelvo_Play.cpp", "    if (!AllHidden(imgMissile)) return;\n", "\n"),
    # Explosion, stars, level
    ("last explosion frame shows", "game/frmKelvo_Play.cpp", "if (BangFrame > imgBlastC.UBound())",
     "if (BangFrame >= imgBlastC.UBound())"),
    ("stars never wiped", "game/frmKelvo.cpp", "    DrawWidth = 1;\n    Cls();\n", "    DrawWidth = 1;\n"),
    ("stars on the left half", "game/frmKelvo.cpp", "float>(Int(ScaleWidth() + 1.0f)", "float>(Int(ScaleWidth() / 2)"),
    ("levels every thousand", "game/frmKelvo_Play.cpp", "(2 * std::int32_t{Level} - 1) * ", "std::int32_t{Level} * "),
    ("level keeps the missiles", "game/frmKelvo_Play.cpp",
     "    for (Image& missile : imgMissile) {\n        missile.Top = 0;\n        missile.Visible = false;\n    }\n",
     "\n"),
    ("announcement stays", "game/frmKelvo_Play.cpp", 'lblMessage.Caption = "";\n    tmrLevel.Interval = 0;',
     'lblMessage.Caption = "";'),
    # Start-up and activation
    ("activation keeps a damaged hull", "game/frmKelvo.cpp", "    Hull = Satellite;\n\n", "\n"),
    ("score label misplaced", "game/frmKelvo.cpp", "lblScore.Width - 100;", "lblScore.Width - 200;"),
    ("beam width of every class", "game/frmKelvo.cpp", "    linKelvo.BorderWidth = Satellite;\n", "\n"),
    ("activation ends a pause", "game/frmKelvo.cpp", "imgBlaster.Visible && !mnuPause.Checked)", "imgBlaster.Visible)"),
    ("activation restarts play with the satellite away", "game/frmKelvo.cpp", "if (imgBlaster.Visible && !", "if (!"),
    ("activation fills an absent hull", "game/frmKelvo.cpp", "if (imgBlaster.Visible) ", ""),
    ("lives panel too narrow", "game/frmKelvo.cpp", "(2).Left + imgLife(2).Width + 50", "(2).Left + imgLife(2).Width"),
    ("message band by the client height", "game/frmKelvo.cpp", "lblMessage.Height = Height() / 2 - 1000;",
     "lblMessage.Height = ScaleHeight() / 2 - 1000;"),
    ("satellite placed by the client height", "game/frmKelvo.cpp", "imgBlaster.Top = Height() - imgBlaster.Height",
     "imgBlaster.Top = ScaleHeight() - imgBlaster.Height"),
    ("default scores halved", "game/frmKelvo.cpp", "51200 >> (rank - 1)", "51200 >> rank"),
    ("hull bar over its outline", "game/frmKelvo.cpp", "shpHPBar,        &shpHPBorder,", "shpHPBorder,     &shpHPBar,"),
    ("a score outlives its game", "game/modKelvo.h", "std::int32_t Score = 0", "static inline std::int32_t Score = 0"),
    # Lives, game over, reset, pause, menus
    ("play goes on after the end", "game/frmKelvo_Flow.cpp", "    if (Lives == 0) {\n        RunPlayTimers(false);",
     "    if (Lives == 0) {"),
    ("life icon stays", "game/frmKelvo_Flow.cpp", "imgLife(Lives).Visible = false;\n        shpHPBar", "shpHPBar"),
    ("lost timer keeps ticking", "game/frmKelvo_Flow.cpp", "    }\n    tmrLost.Interval = 0;\n}", "    }\n}"),
    ("other default name", "game/frmKelvo_Flow.cpp", '"Space Ace"', '"Space"'),
    ("score never waits", "game/frmKelvo_Flow.cpp", "        NewScore = True;\n", "\n"),
    ("reset gives two lives", "game/frmKelvo_Flow.cpp", "Lives = 3;\n    Level = 1;\n", "Lives = 2;\n    Level = 1;\n"),
    ("reset keeps the pause", "game/frmKelvo_Flow.cpp", "    mnuPause.Checked = false;\n    lblScore", "    lblScore"),
    ("reset leaves enemies", "game/frmKelvo_Flow.cpp", "    for (Image& ship : imgShip) ship.Top = 0;\n", "\n"),
    ("resume without the satellite", "game/frmKelvo_Flow.cpp", "} else if (imgBlaster.Visible) {", "} else {"),
    ("pause keeps key preview", "game/frmKelvo_Flow.cpp", "(false);\n    KeyPreview = false;\n", "(false);\n"),
    ("game menu does not pause", "game/frmKelvo_Flow.cpp", "mnuGame_Click() { PauseGame(); }", "mnuGame_Click() {}"),
    ("view score does not resume", "game/frmKelvo_Flow.cpp",
     "    frmScoreK().Show(vbModal);\n    mnuPause_Click();", "    frmScoreK().Show(vbModal);"),
    ("new game keeps the score", "game/frmKelvo_Flow.cpp", "Score = 0;\n    Show();", "Show();"),
    ("exit keeps the table window", "game/frmKelvo_Flow.cpp", "    frmScoreK().Unload();\n}", "}"),
    # Screens
    ("closing the new game briefing keeps the table", "screens/frmIntroK.cpp", "        frmKelvo().mnuExit_Click();",
     "        Unload();\n        frmKelvo().Unload();"),
    ("closing the speed window goes back", "screens/frmOptionsK.cpp",
     "void FrmOptionsK::Form_CloseRequested() { cmdOk_Click(); }", "void FrmOptionsK::Form_CloseRequested() { Unload(); }"),
    ("instructions start where the story was", "screens/frmIntroK.cpp",
     "    if (C == kStoryColour && !V) {\n        lblScroll.Top = ScaleHeight();\n",
     "    if (C == kStoryColour && !V) {\n"),
    ("description box stays", "screens/frmIntroK.cpp", "    lblChoice.Top = optSatellite(Index).Top;\n", "\n"),
    ("text restarts early", "screens/frmIntroK.cpp", "lblScroll.Height + lblScroll.Top < 0",
     "lblScroll.Height + lblScroll.Top < 20"),
    ("title restarts larger", "screens/frmIntroK.cpp", "(8);\n    TitleSize = 8;", "(10);\n    TitleSize = 10;"),
    ("speed border stays", "screens/frmOptionsK.cpp", "colour;\n    shpBorder.BorderColor = colour;", "colour;"),
    ("speed preselects medium", "screens/frmOptionsK.cpp", "default: optSlow.Value = ", "default: optMedium.Value = "),
    ("speed background closes it", "screens/frmOptionsK.cpp", "    if (SpeedChoice == 0) Unload();", "    Unload();"),
    ("table button keeps its colour", "screens/frmScoreK.cpp", "colour;\n    cmdDone.BackColor = colour;", "colour;"),
    ("equal scores go below", "screens/frmScoreK.cpp", "if (Score >= HighScores(b))", "if (Score > HighScores(b))"),
    ("score entered twice", "screens/frmScoreK.cpp", "    NewScore = False;\n", "\n"),
    ("table scores spaced", "screens/frmScoreK.cpp", "PlainNumber(HighScores(i));", "SpacedNumber(HighScores(i));"),
    # The platform
    ("show does not activate again", "platform/core/Application.cpp", "if (target == s.active && target != requested) return;",
     "if (target == s.active && (requested != nullptr || true)) return;"),
    ("modal forms do not block", "platform/core/Application.cpp",
     "if (!modal.empty() && modal.back() != &form) return;", "if (!modal.empty() && modal.back() != &form && false) return;"),
    ("disabled controls take presses", "platform/core/FormInput.cpp",
     "        if (c->Enabled) return c;\n        break;", "        return c;"),
    ("a release anywhere clicks", "platform/core/FormInput.cpp", "if (sameWindow() && now == target) target->activate();",
     "if (sameWindow() && (now == target || true)) target->activate();"),
    ("the last tab stop is the default", "platform/core/FormInput.cpp", "b.TabIndex < best->", "b.TabIndex > best->"),
    ("options do not release each other", "platform/core/Controls.cpp", "            other.Value.value_ = false;\n", "\n"),
    # Repaints: a change the window is not told of, or told of in the wrong
    # place, leaves the old look on screen.
    ("a caption repaints nothing", "platform/core/Controls.cpp", "    RectControl::propertyChanged(id);\n    if (id == kCaption",
     "    if (id != kCaption) RectControl::propertyChanged(id);\n    if (id == kCaption"),
    ("a label's colours repaint nothing", "platform/core/Controls.cpp",
     "    RectControl::propertyChanged(id);\n    if (id == kCaption",
     "    if (id != kLook) RectControl::propertyChanged(id);\n    if (id == kCaption"),
    ("a label's move repaints nothing", "platform/core/Controls.cpp",
     "    RectControl::propertyChanged(id);\n    if (id == kCaption",
     "    if (id != kGeometry) RectControl::propertyChanged(id);\n    if (id == kCaption"),
    ("a picture repaints nothing", "platform/core/Controls.cpp",
     "        Height = PixelsToTwips(Picture.get().heightPx);\n    }\n    RectControl::propertyChanged(id);",
     "        Height = PixelsToTwips(Picture.get().heightPx);\n    }\n    if (id != kPicture) RectControl::propertyChanged(id);"),
    ("hiding repaints nothing", "platform/core/Controls.cpp", "void Control::propertyChanged(int) { changed(); }",
     "void Control::propertyChanged(int id) {\n    if (id != kVisible) changed();\n}"),
    ("a line's area leaves out its second end", "platform/core/Controls.cpp", "x2 = X2 / double{kTwipsPerPixel}",
     "x2 = X1 / double{kTwipsPerPixel}"),
    ("a pressed button repaints nothing", "platform/core/FormInput.cpp", "    target->changed();  // drawn pressed\n", "\n"),
    ("a released option repaints nothing", "platform/core/Controls.cpp", "            other.changed();\n", "\n"),
    ("a frame's controls keep their old area", "platform/core/Controls.cpp",
     "        for (Control* c : children_) c->changed();", "        (void)children_;"),
    ("frames below the controls", "platform/core/Form.cpp", "container() && !isFrame(c) && c->", "container() && c->"),
    ("two sounds at once", "platform/qt/SoundPlayer.cpp", "if (QSoundEffect* old = std::exchange(current_, nullptr)) old->stop();",
     "std::exchange(current_, nullptr);"),
    ("the session's end misses a loading form", "platform/core/Application.cpp",
     "const std::vector<Form*> forms = state().forms;", "const std::vector<Form*> forms = state().history;"),
    ("full-screen forms count a frame", "platform/qt/FormWindow.cpp", "()) return QSize(0, 0);", "()) return QSize();"),
    ("a hidden window measures its menus at load", "platform/qt/FormWindow.cpp",
     "if (!menuBar_->bar() && !placed_) {", "if (false) {"),
    ("the client area is read without the menu bar", "platform/qt/FormWindow.cpp",
     "float FormWindow::clientHeight() const {\n    buildDueMenus();", "float FormWindow::clientHeight() const {"),
    ("a font drawn in a substitute that is not installed", "platform/qt/QtText.cpp",
     "if (QFontDatabase::hasFamily(Q(name))) {", "if (!QFontDatabase::hasFamily(Q(name))) {"),
    ("a window shows without its icon", "platform/qt/FormWindow.cpp",
     "        setWindowIcon(windows_.pictures().icon(form_->design().icon));\n", "\n"),
    ("the icon keeps one size", "platform/qt/QtPictures.cpp", "() == QSize(size, size)", "() == QSize(256, 256)"),
    ("unload keeps timers", "platform/core/Form.cpp",
     "    loaded_ = false;\n    for (Timer* t : timers_) t->Interval = 0;", "    loaded_ = false;"),
    ("activation inside the running event", "platform/core/Application.cpp",
     "    s.updateQueued = true;\n    events->post(updateActive);", "    updateActive();"),
    ("activation goes to the first form shown", "platform/core/Application.cpp",
     "    std::erase(h, &form);\n    h.push_back(&form);", "    std::erase(h, &form);\n    h.insert(h.begin(), &form);"),
    ("closing activates nothing", "platform/core/Application.cpp", "    endModal(form);\n    queueUpdate();\n}\n\nvoid runModal",
     "    endModal(form);\n}\n\nvoid runModal"),
    ("modal forms not stacked", "platform/core/Application.cpp", "    s.modal.push_back(&form);\n", "\n"),
    ("the program never ends", "platform/core/Application.cpp", "if (s.programRunning && std::", "if (false && std::"),
    ("a second modal showing opens it again", "platform/core/Form.cpp", "if (Visible()) {  // ", "if (false) {  // "),
    ("a loading form shows at once", "platform/core/Form.cpp", "    window_->clear(BackColor);\n    Form_Load();",
     "    window_->clear(BackColor);\n    window_->show(false);\n    Form_Load();"),
    ("a hidden frame takes presses", "platform/core/FormInput.cpp", "() || !(*frame)->Visible || ", "() || "),
    ("a hidden frame's buttons take keys", "platform/core/FormInput.cpp",
     "c.Enabled && (!c.container() || c.container()->Visible);", "c.Enabled;"),
    ("a frame passes presses on to the form", "platform/core/FormInput.cpp", "        return f;\n    }\n    for",
     "        break;\n    }\n    for"),
    ("a wrapped label measured at every move", "platform/core/Controls.cpp",
     "(Width != fittedWidth_ || Height != fittedHeight_)", "true"),
    ("a wrapped label ignores its width", "platform/core/Controls.cpp", "Caption, Width).height", "Caption, 0).height"),
    ("an image keeps its design size", "platform/core/Controls.cpp",
     "        Width = PixelsToTwips(Picture.get().widthPx);\n        Height = PixelsToTwips(Picture.get().heightPx);\n",
     ""),
    ("timers tick in the order they started", "platform/core/ManualClock.cpp",
     "entry.due < best->due || (entry.due == best->due && entry.order < best->order)", "entry.order < best->order"),
    ("a write keeps the running period", "platform/core/Timer.cpp", "    if (service_) {\n        service_->stop",
     "    if (service_ && Interval > 0) return;\n    if (service_) {\n        service_->stop"),
    ("points off the area read as background", "platform/qt/PointSurface.cpp", "static_cast<Color>(-1);", "back_;"),
    ("a repaint covers one changed rectangle", "platform/qt/Surface.cpp", "        update(changed);",
     "        update(*changed.begin());"),
    ("wrapped text measured on one line", "platform/qt/QtText.cpp", "Qt::AlignTop | Qt::TextWordWrap", "Qt::AlignTop"),
    ("the exit command does nothing", "game/frmKelvo_Flow.cpp", "mnuExit.Click = [this] { mnuExit_Click(); };",
     "mnuExit.Click = [] {};"),
    ("the close button leaves the table window", "game/frmKelvo_Flow.cpp",
     "void FrmKelvo::Form_CloseRequested() { mnuExit_Click(); }", "void FrmKelvo::Form_CloseRequested() { Unload(); }"),
    ("the stage is the whole desktop", "platform/qt/QtWindows.cpp", "screen_->geometry(", "screen_->virtualGeometry("),
    ("small windows centred on the desktop", "platform/qt/FormWindow.cpp",
     "QPoint at = stage.center() - QPoint", "QPoint at = QRect(QPoint(), stage.size()).center() - QPoint"),
    ("a full-screen form's Left is its place on the desktop", "platform/qt/FormWindow.cpp",
     "fullScreen() ? geometry().x() - windows_.stage().x()", "fullScreen() ? geometry().x()", "desktop_two_heads"),
    ("about does not resume", "game/frmKelvo_Flow.cpp", "About\");\n    mnuPause_Click();", "About\");"),
    ("speed does not resume", "game/frmKelvo_Flow.cpp", "    frmOptionsK().Show(vbModal);\n    mnuPause_Click();",
     "    frmOptionsK().Show(vbModal);"),
    ("instructions show the story", "game/frmKelvo_Flow.cpp", "    BriefingPage = 1;", "    BriefingPage = 0;"),
    ("introduction does not resume", "game/frmKelvo_Flow.cpp",
     "    BriefingPage = 0;\n    SpeedChoice = 0;\n    frmIntroK().Show(vbModal);\n    mnuPause_Click();",
     "    BriefingPage = 0;\n    SpeedChoice = 0;\n    frmIntroK().Show(vbModal);"),
    ("a WAV longer than its file plays", "platform/qt/QtSound.cpp", "if (end > file.size()) return false", "(void)end"),
    ("a chunk past the end plays", "platform/qt/QtSound.cpp", "        if (body + length > end) return false;\n", "\n"),
    ("six channels play", "platform/qt/QtSound.cpp", "(channels == 1 || channels == 2)", "channels >= 1"),
    ("samples ahead of the format play", "platform/qt/QtSound.cpp", "frameBytes != 0 && length >= ", "length >= "),
    ("a player that ended is never replaced", "platform/qt/QtSound.cpp", "if (!running() && !start()) return;",
     "if (pid_ <= 0 && !start()) return;", "desktop_sound_server"),
    ("a line for every player without a server", "platform/qt/QtSound.cpp", "(code == kNoServer && !said_)",
     "code == kNoServer", "desktop_sound_server"),
    ("a player outlives a killed game", "platform/qt/SoundPlayer.cpp", "    prctl(PR_SET_PDEATHSIG, SIGTERM);\n", "",
     "desktop_sound_server"),
    ("the player's module is not found beside the program", "platform/qt/QtSound.cpp",
     "std::vector<std::filesystem::path> places{folder};", "std::vector<std::filesystem::path> places;",
     "desktop_sound_server"),
    ("the installed player's module is not found", "platform/qt/QtSound.cpp",
     "    places.push_back(folder / KELVO_PLAYER_FROM_PROGRAM);\n", "", "packaging_deb"),
    ("a parked window keeps its backing store", "platform/qt/QtWindows.cpp", "            store->resize(QSize(1, 1));\n", ""),
    # The program on the desktop
    ("Qt's options read as the game's letters", "platform/qt/QtProgram.cpp",
     "        parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);\n", "", "desktop_cli"),
    ("no display aborts inside Qt", "platform/qt/QtProgram.cpp", "    QtMessages::opening();\n", "", "desktop_cli"),
    ("an argument shown whole", "platform/qt/QtProgram.cpp", "if (out.size() + piece.size() > limit) return",
     "if (out.size() + piece.size() > limit * 100000) return", "desktop_cli"),
    ("an argument shown raw", "platform/qt/QtProgram.cpp", "c.isPrint()           ? ", "true ? ", "desktop_cli"),
    ("--windowed takes a trailing newline", "platform/qt/QtProgram.cpp",
     'QRegularExpression::anchoredPattern(u"([0-9]{1,5})x([0-9]{1,5})")',
     'QStringLiteral("^([0-9]{1,5})x([0-9]{1,5})$")',
     "desktop_cli"),
    ("--windowed takes one pixel", "platform/qt/QtProgram.cpp",
     "size.width() < kSmallestWindow.width() || size.height() < kSmallestWindow.height()",
     "size.width() < 1 || size.height() < 1", "desktop_cli"),
    ("-display not passed on", "platform/qt/QtProgram.cpp",
     "    for (const QString& a : options.qtArguments) kept.push_back(a.toLocal8Bit());\n", "", "desktop_display"),
    ("a display server gone is left to Qt", "platform/qt/QtProgram.cpp",
     'if (text.contains(QLatin1String("connection broke")))', "if (false)", "desktop_display"),
    ("a scale factor below 1 left to Qt", "platform/qt/QtProgram.cpp",
     "if (!ok || factor <= 0 || factor >= 1) return 1;", "return 1;", "desktop_display"),
    ("timers catch up after a stop", "platform/qt/QtTimers.cpp",
     "[&timer] {\n            if (trace::On()) trace::TimerTick(&timer);\n            timer.fire();\n        }",
     "[&timer, q, due = std::chrono::steady_clock::time_point()]() mutable {\n"
     "            const auto now = std::chrono::steady_clock::now();\n"
     "            if (due == decltype(due)()) due = now;\n"
     "            for (; due <= now && q->isActive(); due += std::chrono::milliseconds(q->interval())) {\n"
     "                if (trace::On()) trace::TimerTick(&timer);\n                timer.fire();\n            }\n        }",
     "desktop_display"),
    # The package
    ("the installed game looks beside itself for its sounds", "platform/qt/QtServices.cpp",
     "    if (QDir(installed).exists()) return installed;\n", "", "packaging_deb"),
    ("a dependency named twice", "packaging/CMakeLists.txt", 'PACKAGE_DEPENDS "fonts-ocr-a,',
     'PACKAGE_DEPENDS "libqt6multimedia6, fonts-ocr-a,', "packaging_deb"),
    ("the program outside /usr/games", "packaging/CMakeLists.txt",
     "install(TARGETS kelvo RUNTIME DESTINATION ${KELVO_INSTALL_GAMESDIR})", "install(TARGETS kelvo)",
     "packaging_lintian"),
    ("no manual page", "packaging/CMakeLists.txt", "kelvo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6",
     "kelvo.6.gz DESTINATION ${CMAKE_INSTALL_DOCDIR}", "packaging_lintian"),
    ("no changelog", "packaging/CMakeLists.txt", "/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz", "/copyright",
     "packaging_lintian"),
    ("a copyright without its year", "packaging/copyright.in", "Copyright: @KELVO_COPYRIGHT@",
     "Copyright: @KELVO_DEVELOPER@", "packaging_lintian"),
    ("a maintainer without an address", "packaging/CMakeLists.txt",
     'set(CPACK_PACKAGE_CONTACT "${KELVO_DEB_MAINTAINER}")', 'set(CPACK_PACKAGE_CONTACT "${KELVO_DEVELOPER}")',
     "packaging_lintian"),
    ("binding on demand", "CMakeLists.txt", "LINKER:-z,relro LINKER:-z,now", "LINKER:-z,relro", "packaging_lintian"),
    # Reading recordings: each range check of the reader, broken, lets a
    # damaged file through; tests/replay must tell (the build of its cases is
    # part of the run).
    ("a typed answer of any length", "platform/core/ReplayFile.cpp", "if (n > longest) {",
     "if (n > longest + (1ULL << 40)) {", "Replay\\."),
    ("a form past the last one", "platform/core/Replay.cpp", "return index < all.size() ? all[index] : nullptr;\n}\n\nint",
     "return index < all.size() + 1000 ? all[index % all.size()] : nullptr;\n}\n\nint",
     "Replay\\."),
    ("a timer past the last one", "platform/core/Replayer.cpp", "if (index >= form->timers().size()) {",
     "if (index > 250) {", "Replay\\."),
    ("a checkpoint of any count", "platform/core/Replayer.cpp", "if (ok && count > kMostNumbers)",
     "if (ok && count > kMostNumbers + 1)", "Replay\\."),
    ("a missing recording read as empty", "platform/core/ReplayFile.cpp",
     'fail(std::string("cannot be read: ") + std::strerror(errno));', 'fail("is empty");', "replay_cli"),
    ("a pause of any length", "platform/core/Replayer.cpp", "if (steps > kLongestPause)",
     "if (steps > kLongestPause * 1000000)", "Replay\\."),
    # Recording and replaying: a piece of the session left out, or read at
    # another point, makes a replay leave its recording.
    ("keys go unrecorded", "platform/core/FormInput.cpp", "    const InputScope scope(key);\n    if (!scope.admitted()) return true;",
     "    const bool admitted = true;\n    (void)key;\n    if (!admitted) return true;", "Replay\\.|recordings"),
    ("window sizes read at another point", "platform/core/Replayer.cpp", "    ++unchangedPoints_;\n}",
     "}", "Replay\\.|recordings"),
    ("no check after a player's event", "platform/core/Recorder.cpp", "    file_.put(Rec::Check);",
     "    return;\n    file_.put(Rec::Check);", "Replay\\."),
    ("activation updates unrecorded", "platform/core/Recorder.cpp", "if (*alive) r_.boundary(Rec::Update);",
     "(void)alive;", "Replay\\."),
]


def run(build, mutant):
    name, rel, old, new = mutant[:4]
    path = ROOT / rel
    source = path.read_text()
    if source.count(old) != 1:
        return "NOT FOUND"
    path.write_text(source.replace(old, new))
    try:
        if len(mutant) > 4:
            if subprocess.run(["cmake", "--build", build, "-j2", "--target", "kelvo"], capture_output=True).returncode:
                return "DOES NOT BUILD"
            ran = subprocess.run(["ctest", "--test-dir", build, "-R", mutant[4]], capture_output=True, text=True)
            return f"caught by {mutant[4]}" if ran.returncode != 0 else "SURVIVED"
        made = subprocess.run(["cmake", "--build", build, "-j2", "--target", "kelvo", "kelvo_tests",
                               "kelvo_core_tests"], capture_output=True, text=True)
        if made.returncode != 0:
            return "DOES NOT BUILD"
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        # The sound tests wait on Qt Multimedia's loader; only a fault in the sound back end needs them.
        only = [] if "Sound" in rel else ["--gtest_filter=-*Sound*"]
        # As CTest runs them, the two-screen run included.
        two_screens = dict(env, QT_QPA_PLATFORM="offscreen:configfile=" + str(ROOT / "tests/two_screens.json"),
                           KELVO_TWO_SCREENS="1")
        for binary, args, binary_env in (("tests/kelvo_core_tests", [], env), ("tests/kelvo_tests", only, env),
                                         ("tests/kelvo_tests", ["--gtest_filter=QtScreens.*"], two_screens)):
            try:
                ran = subprocess.run([os.path.join(build, binary), "--gtest_brief=1"] + args, capture_output=True,
                                     text=True, env=binary_env, cwd=os.path.join(build, "tests"), timeout=300)
            except subprocess.TimeoutExpired:
                return "caught (hang)"
            if ran.returncode != 0:
                failed = [l.split("] ", 1)[1] for l in ran.stdout.splitlines() if l.startswith("[  FAILED  ] ") and "," not in l]
                return "caught by " + (failed[0] if failed else binary)
        # The kept sessions, played again through the changed game.
        ran = subprocess.run(["ctest", "--test-dir", build, "-R", "recordings_verify"], capture_output=True)
        return "caught by recordings_verify" if ran.returncode != 0 else "SURVIVED"
    finally:
        path.write_text(source)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    chosen = [m for m in MUTANTS if len(sys.argv) < 3 or sys.argv[2] in m[0]]
    survived = 0
    for mutant in chosen:
        verdict = run(build, mutant)
        survived += 0 if verdict.startswith("caught") else 1
        print(f"{mutant[0]:50} {verdict}", flush=True)
    subprocess.run(["cmake", "--build", build, "-j2", "--target", "kelvo", "kelvo_tests", "kelvo_core_tests"],
                   capture_output=True)
    print(f"{len(chosen) - survived} of {len(chosen)} caught")
    sys.exit(1 if survived else 0)


if __name__ == "__main__":
    main()
