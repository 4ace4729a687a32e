#include "app/BearingEditor.h"

#include "analysis/BearingFactors.h"
#include "app/BearingCsv.h"
#include "app/Log.h"
#include "loaders/BearingsAtPoint.h"
#include "store/Validation.h"

#include <QFile>
#include <QUuid>

namespace vantor {

BearingEditor::BearingEditor(CMainConnection& db, Prompter& prompter)
    : db_(db), prompter_(prompter), store_(db, StoredValues::AsStored) {}

bool BearingEditor::Refuse(const QString& message) {
    qCInfo(lcApp, "Bearing change refused: %s", qUtf8Printable(message));
    prompter_.ShowMessage(message);
    return false;
}

std::optional<std::vector<CBearing>> BearingEditor::ListBearings() {
    return ReadShown(prompter_, QStringLiteral("listing the bearing library"),
                     [this] { return store_.ListBearings(); });
}

std::optional<std::vector<CPointBearing>> BearingEditor::ListPointBearings(const QString& point) {
    return ReadShown(prompter_, QStringLiteral("listing the bearings of point %1").arg(point),
                     [this, &point] { return store_.ListPointBearings(point); });
}

bool BearingEditor::ImportCsvFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcApp) << "bearing list" << path << "not opened:" << file.errorString();
        prompter_.ShowMessage(UiText(text::ErrorImportingData));
        return false;
    }
    const BearingImportPlan plan = PlanBearingImport(store_, file.readAll());
    if (!plan.Ok()) {
        Refuse(plan.errors.join(QStringLiteral("\r\n")));
        return false;
    }
    if (!ApplyBearingImport(db_, plan)) {
        qCWarning(lcApp) << "bearing list" << path << "not stored";
        prompter_.ShowMessage(UiText(text::ErrorImportingData));
        return false;
    }
    prompter_.ShowMessage(plan.Summary());
    return true;
}

bool BearingEditor::ExportCsvFile(const QString& path) {
    if (ExportBearingCsvFile(store_, path)) {
        return true;
    }
    qCWarning(lcApp) << "bearing list" << path << "not written";
    prompter_.ShowMessage(UiText(text::ErrorExportingData));
    return false;
}

std::optional<CBearing> BearingEditor::FindBearing(const QString& key) {
    try {
        CBearing bearing;
        if (!key.isEmpty() && store_.GetBearing(key, bearing)) {
            return bearing;
        }
        std::vector<CBearing> found;
        for (const CBearing& candidate : store_.ListBearings()) {
            if (candidate.sDesignation.compare(key.trimmed(), Qt::CaseInsensitive) == 0) {
                found.push_back(candidate);
            }
        }
        if (found.size() == 1) {
            return found.front();
        }
        Refuse(found.empty() ? QStringLiteral("No bearing has the GUID or designation \"%1\"").arg(key)
                             : QStringLiteral("%1 bearings are designated \"%2\"; give the GUID")
                                   .arg(found.size())
                                   .arg(key));
    } catch (const DatabaseError&) {
        prompter_.ShowMessage(UiText(text::ErrorLoadingRecord));
    }
    return std::nullopt;
}

std::optional<QString> BearingEditor::SaveBearing(CBearing bearing) {
    bearing.sDesignation = bearing.sDesignation.trimmed();
    bearing.sMaker = bearing.sMaker.trimmed();
    bearing.sSource = bearing.sSource.trimmed();
    if (const auto refused = CheckBearing(bearing)) {
        Refuse(QStringLiteral("Bearing refused: %1").arg(*refused));
        return std::nullopt;
    }
    if (bearing.iRollingElements > 0) {
        // The factors follow from the geometry; the factor columns hold published factors only.
        bearing.fFTF = bearing.fBSF = bearing.fBPFO = bearing.fBPFI = 0;
    }
    try {
        if (bearing.sItemGUID.isEmpty()) {
            bearing.sItemGUID = MakeItemGuid();
            bearing.fOrder = store_.NextBearingOrder();
        } else {
            CBearing stored;
            bearing.fOrder =
                store_.GetBearing(bearing.sItemGUID, stored) ? stored.fOrder : store_.NextBearingOrder();
        }
        if (store_.UpsertBearing(bearing)) {
            return bearing.sItemGUID;
        }
    } catch (const DatabaseError&) {
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return std::nullopt;
}

EditOutcome BearingEditor::DeleteBearing(const QString& guid) {
    const std::optional<CBearing> bearing = LoadForEdit<CBearing>(
        guid, prompter_, [this](const QString& key, CBearing& out) { return store_.GetBearing(key, out); });
    if (!bearing) {
        return EditOutcome::Failed;
    }
    try {
        const auto points = store_.ListAssignmentsOf(guid).size();
        const QString question =
            points == 0 ? QStringLiteral("Delete the bearing %1?").arg(bearing->sDesignation)
                        : QStringLiteral("Delete the bearing %1? %2 point bearing(s) will lose it.")
                              .arg(bearing->sDesignation)
                              .arg(points);
        if (!prompter_.AskYesNo(question)) {
            return EditOutcome::Declined;
        }
        if (store_.DeleteBearing(guid)) {
            return EditOutcome::Done;
        }
    } catch (const DatabaseError&) {
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return EditOutcome::Failed;
}

std::optional<QString> BearingEditor::CheckAssignment(const CPointBearing& assignment) {
    return CheckPointBearing(assignment);
}

std::optional<QString> BearingEditor::AssignBearing(const QString& point, const QString& bearingKey,
                                                    const QString& location, double speedRatio) {
    const std::optional<CVib> vib = LoadForEdit<CVib>(
        point, prompter_, [this](const QString& key, CVib& out) { return db_.GetVib(key, out); });
    if (!vib) {
        return std::nullopt;
    }
    const std::optional<CBearing> bearing = FindBearing(bearingKey);
    if (!bearing) {
        return std::nullopt;
    }
    // A bearing whose stored numbers no check lets in now is corrected first, not watched.
    if (const auto refused = CheckBearingNumbers(*bearing)) {
        Refuse(QStringLiteral("Bearing %1 cannot be assigned: %2").arg(bearing->sDesignation, *refused));
        return std::nullopt;
    }
    CPointBearing assignment;
    assignment.sParentGUID = vib->sItemGUID;
    assignment.sBearingGUID = bearing->sItemGUID;
    assignment.sLocation = location.trimmed();
    assignment.fSpeedRatio = AsStoredFloat(speedRatio);
    if (const auto refused = CheckAssignment(assignment)) {
        Refuse(*refused);
        return std::nullopt;
    }
    try {
        if (store_.CountPointBearings(vib->sItemGUID) >= kBearingsPerPoint) {
            Refuse(QStringLiteral("%1 bearings per point at most").arg(kBearingsPerPoint));
            return std::nullopt;
        }
        assignment.sItemGUID = MakeItemGuid();
        assignment.fOrder = store_.NextPointBearingOrder(vib->sItemGUID);
        if (store_.UpsertPointBearing(assignment)) {
            return assignment.sItemGUID;
        }
    } catch (const DatabaseError&) {
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return std::nullopt;
}

EditOutcome BearingEditor::RemovePointBearing(const QString& point, int number) {
    try {
        const std::vector<CPointBearing> assignments = store_.ListPointBearings(point);
        if (number < 1 || number > static_cast<int>(assignments.size())) {
            Refuse(QStringLiteral("The point has no bearing number %1").arg(number));
            return EditOutcome::Failed;
        }
        if (store_.DeletePointBearing(assignments[static_cast<std::size_t>(number - 1)].sItemGUID)) {
            return EditOutcome::Done;
        }
    } catch (const DatabaseError&) {
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return EditOutcome::Failed;
}

bool BearingEditor::AcceptPointBearings(const std::vector<CPointBearing>& assignments) {
    if (static_cast<int>(assignments.size()) > kBearingsPerPoint) {
        return Refuse(QStringLiteral("%1 bearings per point at most").arg(kBearingsPerPoint));
    }
    for (const CPointBearing& assignment : assignments) {
        if (const auto refused = CheckAssignment(assignment)) {
            return Refuse(*refused);
        }
    }
    return true;
}

bool BearingEditor::StorePointBearings(const QString& point, const std::vector<CPointBearing>& assignments) {
    CBearing bearing;
    for (const CPointBearing& assignment : assignments) {
        if (!store_.GetBearing(assignment.sBearingGUID, bearing)) {
            qCWarning(lcApp) << "bearing" << assignment.sBearingGUID << "of point" << point
                             << "is not in the library";
            return false;
        }
    }
    return store_.ReplacePointBearings(point, assignments);
}

EditOutcome BearingEditor::SavePointBearings(const QString& point,
                                             const std::vector<CPointBearing>& assignments) {
    if (!AcceptPointBearings(assignments)) {
        return EditOutcome::Failed;
    }
    try {
        SqlConnection::Transaction transaction(db_.Connection());
        if (StorePointBearings(point, assignments) && transaction.Commit()) {
            return EditOutcome::Done;
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "storing the bearings of point" << point << "failed:" << error.what();
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return EditOutcome::Failed;
}

std::vector<BearingAtPoint> BearingsAtPointShown(CAppData& app, const QString& point) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr || point.isEmpty()) {
        return {};
    }
    try {
        CBearingStore store(*db);
        return LoadBearingsAtPoint(store, point);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "loading the bearings of point" << point << "failed:" << error.what();
        return {};
    }
}

} // namespace vantor
