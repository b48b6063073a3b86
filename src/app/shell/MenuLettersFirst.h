#pragma once

#include <QObject>

namespace krav {

// While a menu is open, a letter picks its entry (Alt+F, X is File > Exit) instead of the
// main frame's one-letter shortcuts (X is also "next tile"): those work in every window of
// the editor, so Qt would otherwise let them win.
class MenuLettersFirst : public QObject {
public:
    explicit MenuLettersFirst(QObject* parent);
    ~MenuLettersFirst() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace krav
