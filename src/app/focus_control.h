#pragma once

class QWidget;

// Gives the keyboard focus to control; a control that is disabled or not
// shown cannot take it, which is an EInvalidOperation, and the focus stays
// where it was.
void FocusControl(QWidget& control);
