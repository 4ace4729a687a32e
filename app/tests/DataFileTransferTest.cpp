// Export and import as both front ends run them: the question comes before any progress, the
// summary after, and a busy store asks nothing.
#include "app/DataFileTransfer.h"
#include "DatabaseFixture.h"
#include "store/SyncState.h"

#include <QDir>
#include <QFile>

#include <functional>

namespace vantor::testing {
namespace {

class DataFileTransferTest : public DatabaseFixture {
protected:
    // A progress opener that notes how many questions had been asked when it was opened.
    ProgressOpener Opener() {
        return [this] {
            questionsWhenOpened = static_cast<int>(
                std::count_if(prompter.records.cbegin(), prompter.records.cend(),
                              [](const PromptRecord& r) { return r.kind == PromptRecord::Kind::YesNo; }));
            ++opened;
            return std::make_unique<DataFileProgress>();
        };
    }
    QString Path(const QString& name) const { return QDir(env.CommonAppData()).filePath(name); }

    int opened = 0;
    int questionsWhenOpened = -1;
};

TEST_F(DataFileTransferTest, ImportAsksBeforeTheProgressOpensAndSummarisesWhatWasStored) {
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    AddPoint(fan, QStringLiteral("DE H"));
    AddPoint(fan, QStringLiteral("NDE V"));
    const QString path = Path(QStringLiteral("plant.rmd"));
    const DataFileTransfer exported = ExportDataFileFrom(*app, path, MachineSelection{}, Opener());
    ASSERT_EQ(exported.outcome, DataFileOutcome::Done);
    const QString summary = QStringLiteral("plant.rmd\r\nMachines: 1\r\nVibs: 2\r\nVib Readings: 0\r\n"
                                           "Routes: 0\r\nRoute Items: 0");
    EXPECT_EQ(prompter.Messages(), QStringList{summary});

    prompter.records.clear();
    prompter.yesNoAnswers = {false, true};
    EXPECT_EQ(ImportDataFileInto(*app, path, false, Opener()).outcome, DataFileOutcome::Cancelled);
    EXPECT_EQ(opened, 1); // the declined import opened no progress
    const DataFileTransfer imported = ImportDataFileInto(*app, path, false, Opener());
    EXPECT_EQ(imported.outcome, DataFileOutcome::Done);
    EXPECT_EQ(questionsWhenOpened, 2);
    EXPECT_EQ(prompter.Messages(), QStringList{summary});
}

TEST_F(DataFileTransferTest, FailuresShowTheirMessageOnceAndFilesThatCannotBeOpenedShowNone) {
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    AddPoint(fan, QStringLiteral("DE H"));
    const QString path = Path(QStringLiteral("plant.rmd"));
    ASSERT_EQ(ExportDataFileFrom(*app, path, MachineSelection{}, Opener(), false).outcome,
              DataFileOutcome::Done);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();
    struct Case {
        std::function<DataFileOutcome()> run;
        QStringList messages;
    };
    const Case cases[] = {
        {[&] { return ImportDataFileInto(*app, path, true, Opener()).outcome; },
         {QStringLiteral("Error Importing Data")}},
        {[&] {
             return ImportDataFileInto(*app, Path(QStringLiteral("missing.rmd")), true, Opener()).outcome;
         },
         {}},
        {[&] {
             return ExportDataFileFrom(*app, Path(QStringLiteral("no/folder/x.rmd")), MachineSelection{},
                                       Opener())
                 .outcome;
         },
         {}},
    };
    for (const Case& c : cases) {
        prompter.records.clear();
        EXPECT_EQ(c.run(), DataFileOutcome::Failed);
        EXPECT_EQ(prompter.Messages(), c.messages);
    }
}

TEST_F(DataFileTransferTest, NothingIsAskedWhileASynchronisationRuns) {
    ++SyncInProgress();
    const DataFileTransfer busy = ImportDataFileInto(*app, Path(QStringLiteral("x.rmd")), false, Opener());
    --SyncInProgress();
    EXPECT_EQ(busy.outcome, DataFileOutcome::Busy);
    EXPECT_TRUE(prompter.records.empty());
    EXPECT_EQ(opened, 0);
}

} // namespace
} // namespace vantor::testing
