#include "shell/AboutDialog.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace krav {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About KRAV"));
    auto* icon = new QLabel;
    icon->setPixmap(QPixmap(QStringLiteral(":/art/krav32.xpm")));
    auto* text = new QVBoxLayout;
    for (const char* line :
         {"KRAV Version .081a", "Free software for the level designers of Orbalon.",
          "Written by the KRAV developers.", "krav-maps@lists.krav.example"})
        text->addWidget(new QLabel(QString::fromUtf8(line)));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* testers = new QPushButton(QStringLiteral("Alpha\nTesters"));
    connect(testers, &QPushButton::clicked, this, [this] { TestersDialog(this).exec(); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(testers);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    layout->addLayout(buttons);
}

TestersDialog::TestersDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("WOO HOO!"));
    auto* group = new QGroupBox(QStringLiteral("Many thanks go to my alpha testers!"));
    auto* names = new QGridLayout(group);
    const char* testers[] = {"The map makers of the first sector", "Everyone on the level list",
                             "The night shift at the station", "All who sent a broken level"};
    for (int i = 0; i < 4; ++i)
        names->addWidget(new QLabel(QString::fromUtf8(testers[i])), i / 2, i % 2);
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* thanks = new QLabel(QStringLiteral(
        "I have so many testers now, I guess I'll just have to thank most of you generically."));
    thanks->setWordWrap(true);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(line);
    layout->addWidget(thanks);
    layout->addWidget(ok, 0, Qt::AlignCenter);
}

} // namespace krav
