#include "app/ReportSetup.h"

#include "app/FollowUpReport.h"
#include "app/TypedSettings.h"

#include "platform/Version.h"
#include "texts/DisplayFormat.h"

#include <QLocale>

namespace vantor {

ReportLook MakeReportLook(const CAppData& app) {
    ReportLook look;
    look.units = DisplayUnitsOf(app.settings);
    look.consolidatePeaks = ConsolidatePeaks(app.settings);
    look.bandNames = {DisplayBandName(app.settings.band1Name), DisplayBandName(app.settings.band2Name),
                      DisplayBandName(app.settings.band3Name)};
    look.locale = DisplayLocale();
    look.reportDate = QDateTime::currentDateTime();
    look.logosFolder = app.folders.logosFolder;
    look.program = QStringLiteral("%1 %2").arg(app.edition.title, ProgramVersion());
    const QDate reportDate = look.reportDate.date();
    look.addedSections = [reportDate](CMainConnection& db, const QStringList& machines,
                                      std::vector<ReportBlock>& blocks) {
        AddFollowUpSections(db, machines, reportDate, blocks);
    };
    return look;
}

ReportJob MakeReportJob(CAppData& app, const ReportOptions& options, const QString& outputPath) {
    return {options, MakeReportLook(app), app.MakeStoreContext(), outputPath};
}

QStringList MachineNames(CMainConnection& db) {
    QStringList names;
    for (const CMachine& machine : db.ListMachines()) {
        names << machine.sName;
    }
    return names;
}

QString RepresentableRangeText(const CAppData& app) {
    const QLocale locale = QLocale::system();
    return QStringLiteral("%1 - %2").arg(locale.toString(app.earliestDate, QLocale::ShortFormat),
                                         locale.toString(app.latestDate, QLocale::ShortFormat));
}

} // namespace vantor
