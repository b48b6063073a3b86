#include "shell/StatusPane.h"

#include <QEvent>
#include <algorithm>

namespace krav {

namespace {
// Room left for what kerning might add to the characters' own widths.
constexpr int KERNING_SLACK = 4;
} // namespace

StatusPane::StatusPane(const QString& widest, QWidget* parent)
    : QLabel(QStringLiteral(" "), parent), m_widest(widest) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Opaque, filled with the window's colour that shows through a label: a new text then
    // repaints the pane alone, not the status bar beneath it with its message's text too.
    setAutoFillBackground(true);
    Measure();
    FitText();
}

void StatusPane::Show(const QString& text) {
    if (text == this->text())
        return;
    setText(text);
    // Measuring a text lays it out, which costs more than painting it.
    if (!SurelyFits(text))
        FitText();
}

void StatusPane::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        Measure();
        FitText();
        setMinimumHeight(0); // the row's height is laid out again
        setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

void StatusPane::Measure() {
    const QFontMetrics metrics = fontMetrics();
    m_widestWidth = metrics.horizontalAdvance(m_widest) + 8;
    for (int c = 0; c < static_cast<int>(m_advances.size()); ++c)
        m_advances[c] = c < ' ' || c == 127 ? -1 : metrics.horizontalAdvance(QChar(c));
    // A label's measure of one space holds all it adds around a text, and the space at most.
    m_measure.setFont(font());
    m_measure.setFrameStyle(frameStyle());
    m_measure.setText(QStringLiteral(" "));
    m_chrome = m_measure.sizeHint().width();
}

// The width the status bar's layout gave the label when it was free to change size.
void StatusPane::FitText() {
    m_measure.setText(text());
    const int wanted = std::max(m_measure.sizeHint().width(), m_widestWidth);
    if (minimumWidth() != wanted || maximumWidth() != wanted)
        setFixedWidth(wanted);
}

// The height is the status bar's row, which the bar works out from all it holds: the pane
// takes the first height it is given, and keeps it.
void StatusPane::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (minimumHeight() != maximumHeight() && parentWidget() && parentWidget()->isVisible())
        setFixedHeight(height());
}

bool StatusPane::SurelyFits(const QString& text) const {
    if (minimumWidth() != m_widestWidth)
        return false; // widened for a longer text before: it may shrink now
    int needed = m_chrome + KERNING_SLACK;
    for (const QChar c : text) {
        if (c.unicode() >= m_advances.size() || m_advances[c.unicode()] < 0)
            return false;
        needed += m_advances[c.unicode()];
    }
    return needed <= m_widestWidth;
}

} // namespace krav
