#pragma once

#include <QLabel>
#include <array>

namespace krav {

// A pane of the status bar, as wide as its widest expected text (or as its text, when wider).
// Its size is fixed, so a new text repaints the pane alone: a label free to change size has
// the status bar lay out again, measuring every pane's text, each time a text changes.
class StatusPane final : public QLabel {
public:
    StatusPane(const QString& widest, QWidget* parent);

    // Shows the text, the pane resized when the text needs another size.
    void Show(const QString& text);

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Measure();
    void FitText();
    bool SurelyFits(const QString& text) const;

    QString m_widest;
    // Measures texts as a label free to change size would (a label's own measure is at least
    // its minimum size, here its fixed one).
    QLabel m_measure;
    int m_widestWidth = 0;
    // What the label adds around a text, at least, and the widths of the printable ASCII
    // characters: a text of them whose widths add up to less than the room needs no measuring.
    int m_chrome = 0;
    std::array<int, 128> m_advances{};
};

} // namespace krav
