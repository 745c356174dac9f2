#include "UNumberEdit.h"

#include <QFocusEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionFrame>

TNumberEdit::TNumberEdit(int maxLength, QWidget* parent) : QLineEdit(parent) {
  setMaxLength(maxLength);
  setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
  setText(QStringLiteral("0"));
  UpdateColours();
  connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (AutoAdvance && text.size() >= this->maxLength() && cursorPosition() == text.size()) focusNextChild();
  });
}

void TNumberEdit::SetSuffix(const QString& suffix) {
  if (suffix == Suffix_) return;
  Suffix_ = suffix;
  // The digits stay right-aligned in front of the suffix.
  setTextMargins(0, 0, Suffix_.isEmpty() ? 0 : fontMetrics().horizontalAdvance(Suffix_), 0);
  update();
}

void TNumberEdit::SetErrorState(bool error) {
  if (error == Error_) return;
  Error_ = error;
  UpdateColours();
}

void TNumberEdit::UpdateColours() {
  QPalette p = palette();
  const QPalette standard = QPalette();
  p.setColor(QPalette::Base, Error_ ? QColor(Qt::red) : standard.color(QPalette::Active, QPalette::Base));
  p.setColor(QPalette::Text, Error_ ? QColor(Qt::white) : standard.color(QPalette::Active, QPalette::Text));
  // Disabled fields are light grey; a field in error stays red so the user
  // sees why OK is unavailable.
  p.setColor(QPalette::Disabled, QPalette::Base, Error_ ? QColor(Qt::red) : QColor(240, 240, 240));
  p.setColor(QPalette::Disabled, QPalette::Text,
             Error_ ? QColor(Qt::white) : standard.color(QPalette::Disabled, QPalette::Text));
  setPalette(p);
}

void TNumberEdit::focusOutEvent(QFocusEvent* event) {
  if (EmptyIsZero && text().isEmpty()) setText(QStringLiteral("0"));
  QLineEdit::focusOutEvent(event);
  emit focusLost();
}

void TNumberEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  if (Suffix_.isEmpty()) return;
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
  QPainter painter(this);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
  painter.drawText(contents, Qt::AlignRight | Qt::AlignVCenter, Suffix_);
}
