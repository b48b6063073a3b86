// The editor's pictures are drawn by the build and compiled into its resources. One missing
// from them fails nothing by itself: the editor quietly falls back to a plain cursor, an empty
// button or numbered cells. These tests notice instead.
#include "editing/ToolIds.h"
#include "shell/CommandTable.h"
#include "support/FrameFixture.h"

#include <QImage>
#include <QPixmap>

namespace krav {
namespace {

using ArtTest = test::FrameFixture;

QPixmap Resource(const QString& name) {
    return QPixmap(QStringLiteral(":/art/") + name);
}

TEST_F(ArtTest, EveryToolbarPictureIsInTheResources) {
    int pictures = 0;
    for (const CommandInfo& command : CommandTable()) {
        if (command.icon.isEmpty())
            continue;
        ++pictures;
        EXPECT_EQ(Resource(command.icon).size(), QSize(16, 16)) << command.icon.toStdString();
    }
    EXPECT_GT(pictures, 0);
}

TEST_F(ArtTest, ToolsShowTheirOwnCursors) {
    for (const int tool :
         {ID_TOOL_PENCIL, ID_TOOL_ERASER, ID_TOOL_STAMP, ID_TOOL_MAGNIFY, ID_TOOL_DROPPER}) {
        const QCursor cursor = frame->ToolCursor(tool);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << tool;
        EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32)) << tool;
    }
    EXPECT_EQ(frame->MoveCursor().shape(), Qt::BitmapCursor);
}

TEST_F(ArtTest, ApplicationIconsAndObjectStripAreInTheResources) {
    for (const int size : {16, 32, 48, 64})
        EXPECT_EQ(Resource(QStringLiteral("krav%1.xpm").arg(size)).size(), QSize(size, size));
    EXPECT_FALSE(QImage(QStringLiteral(":/art/strip205.xpm")).isNull());
}

} // namespace
} // namespace krav
