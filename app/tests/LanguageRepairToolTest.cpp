#include "app/LanguageRepairTool.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

void WriteTool(const QString& path, const QByteArray& script, QFile::Permissions permissions) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(script);
    file.close();
    file.setPermissions(permissions);
}

} // namespace

TEST(LanguageRepairTool, RunsInTheRootIsWaitedForAndDeleted) {
    QTemporaryDir root;
    const QString tool = QDir(root.path()).filePath(QStringLiteral("vplrepair"));
    // The tool takes a moment and then leaves proof of having run in its working folder.
    WriteTool(tool, "#!/bin/sh\nsleep 0.2\necho repaired > repaired.txt\n",
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(RunLanguageRepairTool(root.path()));
    EXPECT_TRUE(QFile::exists(QDir(root.path()).filePath(QStringLiteral("repaired.txt"))));
    EXPECT_FALSE(QFile::exists(tool));
    // Gone now: the next start skips it.
    EXPECT_FALSE(RunLanguageRepairTool(root.path()));
}

TEST(LanguageRepairTool, AMissingOrUnstartableToolIsSkipped) {
    QTemporaryDir root;
    EXPECT_FALSE(RunLanguageRepairTool(root.path()));
    EXPECT_FALSE(RunLanguageRepairTool(QString()));
    const QString tool = QDir(root.path()).filePath(QStringLiteral("vplrepair"));
    WriteTool(tool, "#!/bin/sh\n", QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_FALSE(RunLanguageRepairTool(root.path()));
    EXPECT_TRUE(QFile::exists(tool));
}
