#pragma once

#include <vector>

#include <QMessageBox>
#include <QString>

#include "app/Unit1.h"
#include "app/error_box.h"

// An error box whose presenter reads each built box instead of running it.
// What the box showed, and what stood around it at that moment, is kept.
struct ShownBox {
    QString caption;
    QString text;
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
              boxes.push_back({shown.windowTitle(), shown.text(), shown.icon(), shown.standardButtons(),
                               shown.windowModality(), box.OpenCount(), Form1 != nullptr,
                               Form1 != nullptr && Form1->isVisible()});
          }) {}

    QStringList Texts() const {
        QStringList texts;
        for (const ShownBox& shown : boxes) texts << shown.text;
        return texts;
    }

    std::vector<ShownBox> boxes;
    ErrorBox box;
};
