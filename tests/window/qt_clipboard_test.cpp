// The list handed to Qt's clipboard from a block that gives its memory back
// behind the copy: every byte arrives, in order.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstring>
#include <string>

#include "platform/clipboard_x11_wayland.h"
#include "walk/ordner_tabelle.h"

TEST(QtClipboard, ReleasingCopyKeepsEveryByte) {
  std::string erwartet;
  for (int i = 0; erwartet.size() < (std::size_t{20} << 20); ++i)
    erwartet += "Musik/Ordner " + std::to_string(i) + "/\n";
  zweigschau::Bytes block;
  block.append(erwartet);
  platform::QtClipboard ablage;
  ASSERT_TRUE(ablage.setTextReleasing(block.view()));
  const QMimeData* daten = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(daten, nullptr);
  const QByteArray text = daten->data(QStringLiteral("text/plain"));
  ASSERT_EQ(static_cast<std::size_t>(text.size()), erwartet.size());
  EXPECT_EQ(std::memcmp(text.constData(), erwartet.data(), erwartet.size()), 0);
}
