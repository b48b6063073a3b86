#pragma once

#include <QScrollBar>

namespace krav {

// A scroll bar of the map view. When only the thumb moves, it repaints the band between the
// thumb's old and new places rather than the whole bar: the style paints the groove with
// gradients, which over a bar's whole length the painter splits across threads, and that
// hand-over cost more than the rest of a scroll step.
class ViewScrollBar final : public QScrollBar {
public:
    ViewScrollBar(Qt::Orientation orientation, QWidget* parent);

protected:
    void sliderChange(SliderChange change) override;

private:
    // The band across the bar that the thumb at this position covers, with its edge lines.
    QRect ThumbBand(int position) const;

    int m_lastPosition;
};

} // namespace krav
