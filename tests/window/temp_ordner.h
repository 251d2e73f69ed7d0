// A real folder tree in a temporary folder for scan tests.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <initializer_list>
#include <string>

class TempOrdner {
 public:
  TempOrdner() { EXPECT_TRUE(dir_.isValid()); }

  // The root without a trailing separator, in UTF-8.
  std::string wurzel() const { return dir_.path().toStdString(); }
  QString qWurzel() const { return dir_.path(); }

  void ordner(std::initializer_list<const char*> pfade) const {
    for (const char* pfad : pfade) ASSERT_TRUE(QDir(dir_.path()).mkpath(QString::fromUtf8(pfad))) << pfad;
  }
  void datei(const char* pfad) const {
    QFile f(dir_.path() + u'/' + QString::fromUtf8(pfad));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << pfad;
  }

 private:
  QTemporaryDir dir_;
};
