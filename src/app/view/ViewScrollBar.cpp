#include "view/ViewScrollBar.h"

#include <QRegion>
#include <QStyle>
#include <QStyleOptionSlider>

namespace krav {

namespace {
// The style draws the thumb's outline a pixel past the thumb's own rectangle.
constexpr int THUMB_MARGIN = 2;
} // namespace

ViewScrollBar::ViewScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent), m_lastPosition(sliderPosition()) {}

QRect ViewScrollBar::ThumbBand(int position) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.sliderPosition = position;
    option.sliderValue = position;
    const QRect thumb =
        style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    if (orientation() == Qt::Vertical)
        return QRect(0, thumb.top() - THUMB_MARGIN, width(), thumb.height() + 2 * THUMB_MARGIN);
    return QRect(thumb.left() - THUMB_MARGIN, 0, thumb.width() + 2 * THUMB_MARGIN, height());
}

void ViewScrollBar::sliderChange(SliderChange change) {
    const int before = m_lastPosition;
    m_lastPosition = sliderPosition();
    // At either end the arrow buttons change look too; a held thumb or button, or a style
    // that fades the bar, repaints as the base class does.
    const auto inside = [this](int position) {
        return position > minimum() && position < maximum();
    };
    const bool thumbOnly = change == SliderValueChange && inside(before) &&
                           inside(m_lastPosition) && !isSliderDown() &&
                           repeatAction() == SliderNoAction &&
                           !style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this);
    if (!thumbOnly) {
        QScrollBar::sliderChange(change);
        return;
    }
    update(QRegion(ThumbBand(before)) + ThumbBand(m_lastPosition));
}

} // namespace krav
