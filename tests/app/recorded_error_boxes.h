#pragma once

#include <cstddef>
#include <vector>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <QMessageBox>
#include <QString>

#include "app/Unit1.h"
#include "app/error_box.h"

// An error box whose presenter reads each built box instead of running it.
// What the box showed, and what stood around it at that moment, is kept.
struct ShownBox {
    QString caption;
    QString text;
    Qt::TextFormat textFormat = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::WindowModality modality = Qt::NonModal;
    int openBoxes = 0;        // boxes open, this one included
    bool mainWindowSet = false;
    bool mainWindowShown = false;
};

class RecordedErrorBoxes {
public:
    RecordedErrorBoxes()
        : box([this](QMessageBox& shown) {
              boxes.push_back({shown.windowTitle(), shown.text(), shown.textFormat(), shown.icon(), shown.standardButtons(),
                               shown.windowModality(), box.OpenCount(), Form1 != nullptr,
                               Form1 != nullptr && Form1->isVisible()});
              HoldFirstOpen();
          }) {}

    // When set, the first box stays open until this many boxes were shown (or
    // 5 s passed), running the event loop meanwhile as a real box does.
    std::size_t holdFirstUntilShown = 0;

    QStringList Texts() const {
        QStringList texts;
        for (const ShownBox& shown : boxes) texts << shown.text;
        return texts;
    }

    std::vector<ShownBox> boxes;
    ErrorBox box;

private:
    void HoldFirstOpen() {
        if (holdFirstUntilShown == 0 || box.OpenCount() != 1) return;
        const QDeadlineTimer deadline(5000);
        while (boxes.size() < holdFirstUntilShown && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }
};
