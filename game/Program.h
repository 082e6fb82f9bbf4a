#pragma once
// The game's four windows, one of each for the whole run, and how each window's
// procedures reach the others.

#include <memory>

namespace kelvo {

class FrmKelvo;
class FrmIntroK;
class FrmOptionsK;
class FrmScoreK;

// Owns the windows and starts the shared variables afresh. The program has
// one; each test makes its own. One at a time.
class Program {
public:
    Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    FrmKelvo& kelvo() { return *frmKelvo_; }
    FrmIntroK& intro() { return *frmIntroK_; }
    FrmOptionsK& options() { return *frmOptionsK_; }
    FrmScoreK& score() { return *frmScoreK_; }

    // Unloads every window that is loaded.
    void unloadAll();

private:
    std::unique_ptr<FrmKelvo> frmKelvo_;
    std::unique_ptr<FrmIntroK> frmIntroK_;
    std::unique_ptr<FrmOptionsK> frmOptionsK_;
    std::unique_ptr<FrmScoreK> frmScoreK_;
};

FrmKelvo& frmKelvo();
FrmIntroK& frmIntroK();
FrmOptionsK& frmOptionsK();
FrmScoreK& frmScoreK();

}  // namespace kelvo
