#pragma once
// Typing into a dialog's field as the user does, keys and all, so that the
// field's own checks and focus handling run as they would by hand.

#include <QDialog>
#include <QLineEdit>
#include <QString>

// Activates the dialog, selects the field's text, deletes it and types text.
void Type(QDialog& dialog, QLineEdit* edit, const QString& text);
// The same, then leaves the field with Tab.
void TypeAndLeave(QDialog& dialog, QLineEdit* edit, const QString& text);
