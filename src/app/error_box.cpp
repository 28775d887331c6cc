#include "app/error_box.h"

#include <utility>

#include <QMessageBox>
#include <QString>
#include <QWidget>

#include "app/application_title.h"
#include "app/error_text.h"
#include "app/text_bytes.h"

namespace {

// Keeps the count of open boxes right on every way out of the presenter.
class OpenBox {
public:
    explicit OpenBox(int& open) : open_(open) { ++open_; }
    ~OpenBox() { --open_; }
    OpenBox(const OpenBox&) = delete;
    OpenBox& operator=(const OpenBox&) = delete;

private:
    int& open_;
};

std::string UntoldNote(int count) {
    const std::string boxes = std::to_string(ErrorBox::kMaxOpen);
    if (count == 1) return "\n\n(This failure came while " + boxes + " error boxes were open.)";
    return "\n\n(" + std::to_string(count) + " failures came while " + boxes +
           " error boxes were open; this is the last of them.)";
}

}  // namespace

ErrorBox::ErrorBox(Presenter present) : present_(std::move(present)) {}

void ErrorBox::Show(const std::string& message) {
    // A drag or press in progress must not go on under the box.
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();

    if (open_ >= kMaxOpen) {
        ++untold_;
        lastUntold_ = message;
        return;
    }
    Present(ErrorBoxText(message));
    TellUntold();
}

void ErrorBox::ExecModal(QMessageBox& box) { box.exec(); }

void ErrorBox::Present(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), FromBytes(text),
                    QMessageBox::Ok);
    // A failure may carry the service's own words (an HTTP status line): shown
    // as they are, never taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(QMessageBox::Ok);
    OpenBox open(open_);
    present_(box);
}

void ErrorBox::TellUntold() {
    // Each round waits for the user to confirm one box, so this ends when
    // failures stop coming faster than boxes are answered.
    while (untold_ > 0 && open_ < kMaxOpen) {
        const int count = std::exchange(untold_, 0);
        const std::string message = std::exchange(lastUntold_, std::string());
        Present(ErrorBoxText(message) + UntoldNote(count));
    }
}
