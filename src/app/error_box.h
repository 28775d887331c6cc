#pragma once

#include <functional>
#include <string>

class QMessageBox;

// The application's one error box: every failure that leaves a handler is
// shown here. The box (stop icon, one OK button, the application title as
// caption, modal to the whole program) is built here and handed to the
// presenter, which shows it and returns when the user has confirmed it; the
// real presenter runs the box's own event loop, so timer ticks go on while it
// is open. Tests pass a presenter that reads the box instead of blocking.
//
// At most kMaxOpen boxes are open at once: each box nests inside the one
// before it, and a renewal that fails every 180 s while nobody answers would
// otherwise stack boxes without end. A failure that comes while kMaxOpen
// boxes are open is not dropped: it is counted (only the last message is
// kept, so memory stays bounded), and as soon as a box is confirmed the next
// box shows the last such message with the number of failures that came.
class ErrorBox {
public:
    using Presenter = std::function<void(QMessageBox& box)>;

    static constexpr int kMaxOpen = 3;

    explicit ErrorBox(Presenter present = ExecModal);
    ErrorBox(const ErrorBox&) = delete;
    ErrorBox& operator=(const ErrorBox&) = delete;

    // Shows one failure's message (see ErrorBoxText for the full stop).
    void Show(const std::string& message);

    int OpenCount() const { return open_; }
    int UntoldCount() const { return untold_; }

    // The real presenter: QMessageBox::exec.
    static void ExecModal(QMessageBox& box);

private:
    void Present(const std::string& text);
    void TellUntold();

    Presenter present_;
    int open_ = 0;
    int untold_ = 0;
    std::string lastUntold_;
};
