#pragma once

#include <QDialog>

namespace krav {

// "About KRAV": the version and who made it; its "Alpha Testers" button thanks the testers.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

// "WOO HOO!": the alpha testers' dialog.
class TestersDialog : public QDialog {
    Q_OBJECT
public:
    explicit TestersDialog(QWidget* parent = nullptr);
};

} // namespace krav
