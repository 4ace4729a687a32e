// Runs the built `vantor` program as a user would, on a temporary data root.
#include "cli/tests/RunVantor.h"
#include "platform/testing/TempEnvironment.h"
#include "store/SqlConnection.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

using ProgramRun = vantor::testing::VantorRun;

class CommandLine : public ::testing::Test {
protected:
    static ProgramRun Vantor(const QStringList& arguments) { return vantor::testing::RunVantor(arguments); }

    QString DatabaseFile() const {
        return env.CommonAppData() + QStringLiteral("/Norhall Instruments/Corvane/Database/VantorV1.mdb");
    }

    void Execute(const QStringList& statements) {
        vantor::SqlConnection raw(DatabaseFile(), vantor::SqlConnection::Mode::Create);
        ASSERT_TRUE(raw.Open());
        QSqlQuery query(raw.Database());
        for (const QString& statement : statements) {
            ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
        }
    }

    QJsonArray ListJson(const QStringList& arguments) {
        const ProgramRun run =
            Vantor(QStringList{QStringLiteral("list")} << arguments << QStringLiteral("--json"));
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out).array();
    }

    vantor::testing::TempEnvironment env;
};

} // namespace

TEST_F(CommandLine, InitThenListAnEmptyDatabase) {
    const ProgramRun init = Vantor({QStringLiteral("init")});
    ASSERT_EQ(init.status, 0) << init.err.toStdString();
    EXPECT_TRUE(QFile::exists(DatabaseFile()));
    const ProgramRun list = Vantor({QStringLiteral("list"), QStringLiteral("machines")});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, QByteArray("sItemGUID\tfOrder\tsName\tsVMName\tsEMails\n"));
    EXPECT_EQ(Vantor({QStringLiteral("list"), QStringLiteral("machines"), QStringLiteral("--json")}).out,
              "[]\n");
}

TEST_F(CommandLine, ListingWithoutADatabaseFailsWithTheDocumentedMessage) {
    const ProgramRun list = Vantor({QStringLiteral("list"), QStringLiteral("routes")});
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(list.err, QByteArray("No Database found, please reinstall Corvane!\n"));
    EXPECT_TRUE(list.out.isEmpty());
}

TEST_F(CommandLine, UsageErrorsExitWithTwo) {
    EXPECT_EQ(Vantor({}).status, 2);
    EXPECT_EQ(Vantor({QStringLiteral("list"), QStringLiteral("nonsense")}).status, 2);
    EXPECT_EQ(Vantor({QStringLiteral("frobnicate")}).status, 2);
}

TEST_F(CommandLine, ReadsADatabaseThatAnotherProgramWrote) {
    // Documented tables and columns, other declared types, an older meter table, no address table.
    QDir().mkpath(QFileInfo(DatabaseFile()).absolutePath());
    Execute({
        QStringLiteral("CREATE TABLE tblMachines (sItemGUID VARCHAR(38), fOrder SINGLE, sName VARCHAR(255), "
                       "sVMName VARCHAR(255), sEMails VARCHAR(255))"),
        QStringLiteral(
            "CREATE TABLE tblVibs (sItemGUID TEXT, sParentGUID TEXT, fOrder FLOAT, sName TEXT, sVMName TEXT, "
            "fRunSpeedHz FLOAT, bISOAlarmsOn BIT, fISOWarningMMS FLOAT, fISOCriticalMMS FLOAT, "
            "bBDUAlarmsOn BIT, fBDUWarning FLOAT, fBDUCritical FLOAT)"),
        QStringLiteral("CREATE TABLE tblDevices (sItemGUID TEXT, fOrder FLOAT, sName TEXT, sSN TEXT)"),
        QStringLiteral(
            "INSERT INTO tblMachines VALUES ('{b}', 1, 'Fan', 'FAN', ''), ('{a}', 0, 'Pump', 'PUMP', "
            "'x@y.z;o''neil@y.z')"),
        QStringLiteral(
            "INSERT INTO tblVibs VALUES ('{v}', '{a}', 0, 'Drive end', 'DE', 24.5, 1, 2.8, 7.1, 0, 0, 0)"),
        QStringLiteral("INSERT INTO tblDevices VALUES ('{d}', 0, 'Meter', '007')"),
    });

    const QJsonArray machines = ListJson({QStringLiteral("machines")});
    ASSERT_EQ(machines.size(), 2);
    EXPECT_EQ(machines[0].toObject().value(QStringLiteral("sName")).toString(), QStringLiteral("Pump"));
    EXPECT_EQ(machines[0].toObject().value(QStringLiteral("sEMails")).toString(),
              QStringLiteral("x@y.z;o'neil@y.z"));

    const QJsonArray vibs =
        ListJson({QStringLiteral("vibs"), QStringLiteral("--parent"), QStringLiteral("{a}")});
    ASSERT_EQ(vibs.size(), 1);
    EXPECT_EQ(vibs[0].toObject().value(QStringLiteral("fISOCriticalMMS")).toDouble(), 7.1);
    EXPECT_EQ(vibs[0].toObject().value(QStringLiteral("bISOAlarmsOn")).toBool(), true);
    EXPECT_TRUE(
        ListJson({QStringLiteral("vibs"), QStringLiteral("--parent"), QStringLiteral("{b}")}).isEmpty());

    // Listing meters goes through the secondary connection, which upgrades the file.
    const QJsonArray devices = ListJson({QStringLiteral("devices")});
    ASSERT_EQ(devices.size(), 1);
    EXPECT_EQ(devices[0].toObject().value(QStringLiteral("sSN")).toString(), QStringLiteral("007"));
    EXPECT_TRUE(devices[0].toObject().contains(QStringLiteral("sBTAddress")));
    EXPECT_TRUE(ListJson({QStringLiteral("emails")}).isEmpty());
}

TEST_F(CommandLine, EmailAddressesAreAddedOnceAndRemovedExactly) {
    ASSERT_EQ(Vantor({QStringLiteral("init")}).status, 0);
    const QString quoted = QStringLiteral("o'neil@example.com");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Vantor({QStringLiteral("emails"), QStringLiteral("add"), quoted}).status, 0);
    }
    EXPECT_EQ(
        Vantor({QStringLiteral("emails"), QStringLiteral("add"), QStringLiteral("ann@example.com")}).status,
        0);
    QJsonArray emails = ListJson({QStringLiteral("emails")});
    ASSERT_EQ(emails.size(), 2);
    EXPECT_EQ(emails[1].toObject().value(QStringLiteral("sEmailAddress")).toString(), quoted);
    EXPECT_EQ(Vantor({QStringLiteral("emails"), QStringLiteral("remove"), quoted}).status, 0);
    emails = ListJson({QStringLiteral("emails")});
    ASSERT_EQ(emails.size(), 1);
    EXPECT_EQ(emails[0].toObject().value(QStringLiteral("sEmailAddress")).toString(),
              QStringLiteral("ann@example.com"));

    // An address that would break a recipient list, and a sixth address, are refused with their
    // messages and store nothing; an address already listed may still be given again.
    const ProgramRun invalid =
        Vantor({QStringLiteral("emails"), QStringLiteral("add"), QStringLiteral("a@b.com, c@d.com")});
    EXPECT_EQ(invalid.status, 1);
    EXPECT_TRUE(invalid.err.contains(vantor::UiText(vantor::text::EmailAddressInvalid).toUtf8()));
    for (int i = 2; i <= 5; ++i) {
        EXPECT_EQ(Vantor({QStringLiteral("emails"), QStringLiteral("add"),
                          QStringLiteral("u%1@example.com").arg(i)})
                      .status,
                  0);
    }
    const ProgramRun sixth =
        Vantor({QStringLiteral("emails"), QStringLiteral("add"), QStringLiteral("u6@example.com")});
    EXPECT_EQ(sixth.status, 1);
    EXPECT_TRUE(sixth.err.contains(vantor::UiText(vantor::text::FiveAddressesMax).toUtf8()));
    EXPECT_EQ(
        Vantor({QStringLiteral("emails"), QStringLiteral("add"), QStringLiteral("ANN@example.com")}).status,
        0);
    EXPECT_EQ(ListJson({QStringLiteral("emails")}).size(), 5);
}

TEST_F(CommandLine, ExportAndImportThroughTheCommandLine) {
    ASSERT_EQ(Vantor({QStringLiteral("init")}).status, 0);
    Execute(
        {QStringLiteral("INSERT INTO tblMachines VALUES ('{0000000a-0000-4000-8000-000000000000}', 0, "
                        "'Pump', 'PUMP', '')"),
         QStringLiteral(
             "INSERT INTO tblVibs ([sItemGUID], [sParentGUID], [fOrder], [sName], [sVMName], [fRunSpeedHz]) "
             "VALUES ('{0000000b-0000-4000-8000-000000000000}', '{0000000a-0000-4000-8000-000000000000}', 0, "
             "'DE', 'DE', 24.5)"),
         QStringLiteral(
             "INSERT INTO tblVibReadings ([sItemGUID], [sParentGUID], [ctDateTaken]) VALUES "
             "('{000000c1-0000-4000-8000-000000000000}', '{0000000b-0000-4000-8000-000000000000}', "
             "'2024-01-01 10:00:00'), ('{000000c2-0000-4000-8000-000000000000}', "
             "'{0000000b-0000-4000-8000-000000000000}', '2024-02-01 10:00:00')")});
    const QString file = env.Root() + QStringLiteral("/out.txt");
    const ProgramRun all = Vantor({QStringLiteral("export"), file});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    EXPECT_TRUE(
        QFile::exists(env.Root() + QStringLiteral("/out.rmd"))); // the data-file extension replaces another
    const ProgramRun latest = Vantor(
        {QStringLiteral("export"), env.Root() + QStringLiteral("/latest.rmd"), QStringLiteral("--machine"),
         QStringLiteral("{0000000a-0000-4000-8000-000000000000}"), QStringLiteral("--latest")});
    ASSERT_EQ(latest.status, 0) << latest.err.toStdString();
    EXPECT_EQ(
        Vantor({QStringLiteral("export"), file, QStringLiteral("--latest"), QStringLiteral("--all")}).status,
        2);

    Execute({QStringLiteral("DELETE FROM tblVibReadings"), QStringLiteral("DELETE FROM tblMachines")});
    // Declining the replace question cancels (exit 3) and stores nothing.
    const ProgramRun declined =
        vantor::testing::RunVantor({QStringLiteral("import"), env.Root() + QStringLiteral("/out.rmd")},
                                   QProcessEnvironment::systemEnvironment(), QByteArray("n\n"));
    EXPECT_EQ(declined.status, 3);
    EXPECT_EQ(declined.err, QByteArray("During an Import any existing records that match "
                                       "will be replaced.\r\nDo you want to continue?\n"));
    EXPECT_TRUE(ListJson({QStringLiteral("machines")}).isEmpty());

    const ProgramRun latestImport = Vantor(
        {QStringLiteral("import"), env.Root() + QStringLiteral("/latest.rmd"), QStringLiteral("--yes")});
    ASSERT_EQ(latestImport.status, 0) << latestImport.err.toStdString();
    const QJsonArray readings = ListJson({QStringLiteral("readings")});
    ASSERT_EQ(readings.size(), 1);
    EXPECT_EQ(readings[0].toObject().value(QStringLiteral("sItemGUID")).toString(),
              QStringLiteral("{000000c2-0000-4000-8000-000000000000}"));

    ASSERT_EQ(
        Vantor({QStringLiteral("import"), env.Root() + QStringLiteral("/out.rmd"), QStringLiteral("--yes")})
            .status,
        0);
    EXPECT_EQ(ListJson({QStringLiteral("readings")}).size(), 2);

    QFile broken(env.Root() + QStringLiteral("/broken.rmd"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray("\x01\x00\x00\x00\x05\x00", 6));
    broken.close();
    const ProgramRun bad = Vantor({QStringLiteral("import"), broken.fileName(), QStringLiteral("--yes")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, QByteArray("Error Importing Data\n"));

    // A reading whose point the file and the database lack is refused and told; the rest is kept.
    Execute(
        {QStringLiteral("UPDATE tblVibReadings SET sParentGUID = '{0000000f-0000-4000-8000-000000000000}' "
                        "WHERE sItemGUID = '%1'")
             .arg(QLatin1String("{000000c1-0000-4000-8000-000000000000}"))});
    ASSERT_EQ(Vantor({QStringLiteral("export"), env.Root() + QStringLiteral("/orphan.rmd")}).status, 0);
    Execute({QStringLiteral("DELETE FROM tblVibReadings")});
    const ProgramRun orphan = Vantor(
        {QStringLiteral("import"), env.Root() + QStringLiteral("/orphan.rmd"), QStringLiteral("--yes")});
    EXPECT_EQ(orphan.status, 1);
    EXPECT_TRUE(orphan.err.contains("Vib Readings: 1\r\nVib Readings: 1 refused\r\n"))
        << orphan.err.toStdString();
    EXPECT_TRUE(orphan.err.contains(": its vibration point is neither in the file nor in the database"))
        << orphan.err.toStdString();
    EXPECT_EQ(ListJson({QStringLiteral("readings")}).size(), 1);
}

// A command on a local file maps only what it uses: the server's client library (and the TLS,
// Kerberos and LDAP libraries behind it) and the GUI libraries are neither linked nor loaded.
TEST_F(CommandLine, ALocalCommandLoadsNoServerOrGuiLibrary) {
    ASSERT_EQ(Vantor({QStringLiteral("init")}).status, 0);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
    const ProgramRun list =
        vantor::testing::RunVantor({QStringLiteral("list"), QStringLiteral("machines")}, environment);
    ASSERT_EQ(list.status, 0) << list.err.toStdString();
    // The loader names every object it opens ("file=libQt6Core.so.6 [0];  needed by ...").
    ASSERT_TRUE(list.err.contains("file=libQt6Core.so.6")) << "the loader's trace is missing";
    for (const char* library : {"file=libpq.so", "file=libssl.so", "file=libgssapi_krb5.so", "file=libldap",
                                "file=libQt6Gui.so", "file=libQt6Widgets.so"}) {
        EXPECT_FALSE(list.err.contains(library)) << library;
    }
}
