#include "app/CatalogueCsv.h"

#include "app/CatalogueEditor.h"
#include "app/CsvText.h"
#include "store/Limits.h"
#include "store/Validation.h"
#include "texts/UiText.h"

#include <QLocale>
#include <QSaveFile>
#include <QUuid>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <type_traits>

namespace vantor {
namespace {

enum Column : int {
    kMachine,
    kMachineMeterName,
    kKind,
    kPoint,
    kPointMeterName,
    kRunSpeedHz,
    kIsoAlarms,
    kIsoWarning,
    kIsoCritical,
    kBduAlarms,
    kBduWarning,
    kBduCritical,
    kLubeType,
    kLubeUnits,
    kMachineGuid,
    kPointGuid,
    kColumnCount
};

constexpr int kHeaderLine = 1;
constexpr int kFloatDigits = 9; // enough for every single-precision value to read back exactly

// Plain decimals, as few as read back exactly; exponents only for values beyond them.
QString Number(float value) {
    for (int decimals = 0; decimals <= kFloatDigits; ++decimals) {
        const QString text = QString::number(static_cast<double>(value), 'f', decimals);
        if (text.toFloat() == value) {
            return text;
        }
    }
    return QString::number(static_cast<double>(value), 'g', kFloatDigits);
}

QString Flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QStringList MachineCells(const CMachine& machine) {
    QStringList cells;
    for (int i = 0; i < kColumnCount; ++i) {
        cells << QString();
    }
    cells[kMachine] = machine.sName;
    cells[kMachineMeterName] = machine.sVMName;
    cells[kMachineGuid] = machine.sItemGUID;
    return cells;
}

QStringList VibCells(const CMachine& machine, const CVib& vib) {
    QStringList cells = MachineCells(machine);
    cells[kKind] = QString::fromLatin1(kCsvKindVib);
    cells[kPoint] = vib.sName;
    cells[kPointMeterName] = vib.sVMName;
    cells[kRunSpeedHz] = Number(vib.fRunSpeedHz);
    cells[kIsoAlarms] = Flag(vib.bISOAlarmsOn);
    cells[kIsoWarning] = Number(vib.fISOWarningMMS);
    cells[kIsoCritical] = Number(vib.fISOCriticalMMS);
    cells[kBduAlarms] = Flag(vib.bBDUAlarmsOn);
    cells[kBduWarning] = Number(vib.fBDUWarning);
    cells[kBduCritical] = Number(vib.fBDUCritical);
    cells[kPointGuid] = vib.sItemGUID;
    return cells;
}

QStringList LubeCells(const CMachine& machine, const CLube& lube) {
    QStringList cells = MachineCells(machine);
    cells[kKind] = QString::fromLatin1(kCsvKindLube);
    cells[kPoint] = lube.sName;
    cells[kPointMeterName] = lube.sVMName;
    cells[kBduAlarms] = Flag(lube.bBDUAlarmsOn);
    cells[kBduWarning] = Number(lube.fBDUWarning);
    cells[kBduCritical] = Number(lube.fBDUCritical);
    cells[kLubeType] = lube.sLubeType;
    cells[kLubeUnits] = lube.sLubeUnits;
    cells[kPointGuid] = lube.sItemGUID;
    return cells;
}

QString AtLine(int line, const QString& message) {
    return UiText(text::added::CatalogueAtLine).arg(line).arg(message);
}

bool IsBracedGuid(const QString& text) {
    return text.size() == 38 && text.startsWith(QLatin1Char('{')) && text.endsWith(QLatin1Char('}')) &&
           !QUuid::fromString(text).isNull();
}

// A data row with its columns found by the header.
class RowCells {
public:
    RowCells(const QStringList& fields, const std::array<int, kColumnCount>& positions, QChar separator)
        : fields_(fields), positions_(positions), separator_(separator) {}

    bool Has(Column column) const { return positions_[column] >= 0; }
    QString Text(Column column) const {
        const int at = positions_[column];
        return at >= 0 && at < fields_.size() ? fields_[at].trimmed() : QString();
    }
    // The cell's number; 0 when empty; nothing when it is not a number. A file separated by
    // semicolons may write decimal commas.
    std::optional<float> NumberOf(Column column) const {
        QString text = Text(column);
        if (text.isEmpty()) {
            return 0.0f;
        }
        if (separator_ == QLatin1Char(';')) {
            text.replace(QLatin1Char(','), QLatin1Char('.'));
        }
        bool ok = false;
        const float value = QLocale::c().toFloat(text, &ok);
        return ok ? std::optional<float>(value) : std::nullopt;
    }
    std::optional<bool> FlagOf(Column column) const {
        const QString text = Text(column).toLower();
        if (text.isEmpty() || text == QLatin1String("0") || text == QLatin1String("no") ||
            text == QLatin1String("false") || text == QLatin1String("off")) {
            return false;
        }
        if (text == QLatin1String("1") || text == QLatin1String("yes") || text == QLatin1String("true") ||
            text == QLatin1String("on")) {
            return true;
        }
        return std::nullopt;
    }
    // Cells in header order, for the preview.
    QStringList Cells() const {
        QStringList cells;
        for (int column = 0; column < kColumnCount; ++column) {
            cells << Text(static_cast<Column>(column));
        }
        return cells;
    }

private:
    const QStringList& fields_;
    const std::array<int, kColumnCount>& positions_;
    QChar separator_;
};

// The planned state of one machine and its points while the rows are read.
struct PlannedMachine {
    CMachine machine;
    bool isNew = false;
    int line = 0; // the row that named it first
    int vibs = 0; // its points once the plan is stored
    int lubes = 0;
};

class ImportPlanner {
public:
    ImportPlanner(const CatalogueLookup& catalogue, CatalogueImportPlan& plan)
        : catalogue_(catalogue), plan_(plan), stored_(catalogue.Machines()) {}

    void Row(const RowCells& row, int line) {
        CatalogueCsvRow preview{line, row.Cells(), false, false, {}};
        const QString error = Check(row, preview);
        if (!error.isEmpty()) {
            preview.error = error;
            plan_.errors << AtLine(line, error);
        }
        plan_.rows.push_back(preview);
    }

    void Finish() {
        for (const QString& guid : machineOrder_) {
            const PlannedMachine& planned = machines_.at(guid);
            plan_.machines.push_back(planned.machine);
            ++(planned.isNew ? plan_.machinesAdded : plan_.machinesUpdated);
        }
    }

private:
    // The row's machine, planned on first sight; nothing (with the message) when refused.
    PlannedMachine* MachineOf(const RowCells& row, int line, QString& error) {
        const QString name = row.Text(kMachine);
        QString meterName = row.Text(kMachineMeterName);
        if (meterName.isEmpty()) {
            meterName = name; // "Same as Name"
        }
        QString guid = row.Text(kMachineGuid);
        if (!guid.isEmpty() && !IsBracedGuid(guid)) {
            error = UiText(text::added::CatalogueBadMachineGuid);
            return nullptr;
        }
        if (guid.isEmpty()) {
            guid = GuidOfMachineNamed(name, error);
            if (!error.isEmpty()) {
                return nullptr;
            }
        }
        if (const auto found = machines_.find(guid); found != machines_.end()) {
            PlannedMachine& planned = found->second;
            CMachine candidate = planned.machine;
            candidate.sName = name;
            candidate.sVMName = meterName;
            CheckMachine(candidate, SplitAddresses(candidate.sEMails));
            if (candidate.sName != planned.machine.sName || candidate.sVMName != planned.machine.sVMName) {
                error = UiText(text::added::CatalogueMachineRenamed).arg(planned.line);
                return nullptr;
            }
            return &planned;
        }

        PlannedMachine planned;
        planned.line = line;
        const std::optional<CMachine> stored = catalogue_.Machine(guid);
        planned.isNew = !stored;
        if (stored) {
            planned.machine = *stored;
        }
        planned.machine.sItemGUID = guid;
        planned.machine.sName = name;
        planned.machine.sVMName = meterName;
        if (auto refused = CheckMachine(planned.machine, SplitAddresses(planned.machine.sEMails))) {
            error = *refused;
            return nullptr;
        }
        if (!planned.isNew) {
            planned.vibs = static_cast<int>(catalogue_.Vibs(guid).size());
            planned.lubes = static_cast<int>(catalogue_.Lubes(guid).size());
        }
        machineOrder_ << guid;
        return &machines_.emplace(guid, planned).first->second;
    }

    // The GUID of the machine a row without one names: one planned or stored under that name, or
    // a new one.
    QString GuidOfMachineNamed(const QString& name, QString& error) {
        for (const QString& guid : machineOrder_) {
            if (machines_.at(guid).machine.sName == name) {
                return guid;
            }
        }
        QStringList found;
        for (const CMachine& machine : stored_) {
            if (machine.sName == name) {
                found << machine.sItemGUID;
            }
        }
        if (found.size() > 1) {
            error = UiText(text::added::CatalogueMachinesNamed).arg(found.size()).arg(name);
            return {};
        }
        if (found.size() == 1) {
            return found.front();
        }
        QString& fresh = newMachineByName_[name];
        if (fresh.isEmpty()) {
            fresh = MakeItemGuid();
        }
        return fresh;
    }

    template <class R> static QString PointKey(const PlannedMachine& machine, const QString& name) {
        const char* kind = std::is_same_v<R, CVib> ? kCsvKindVib : kCsvKindLube;
        return machine.machine.sItemGUID + QLatin1Char('\n') + QLatin1String(kind) + QLatin1Char('\n') + name;
    }

    // Finds the stored point a row updates (by GUID, else by name on its machine) and whether it
    // is new; an error when the row cannot name one point.
    std::optional<CVib> Stored(const QString& guid, const CVib*) const { return catalogue_.Vib(guid); }
    std::optional<CLube> Stored(const QString& guid, const CLube*) const { return catalogue_.Lube(guid); }

    template <class R>
    std::optional<R> PointOf(const RowCells& row, const PlannedMachine& machine,
                             const std::vector<R>& siblings, bool& isNew, QString& error) {
        const QString name = row.Text(kPoint);
        QString guid = row.Text(kPointGuid);
        R point;
        if (!guid.isEmpty()) {
            if (!IsBracedGuid(guid)) {
                error = UiText(text::added::CatalogueBadPointGuid);
                return std::nullopt;
            }
            const std::optional<R> stored = Stored(guid, static_cast<const R*>(nullptr));
            isNew = !stored;
            if (stored) {
                point = *stored;
            }
            if (!isNew && point.sParentGUID != machine.machine.sItemGUID) {
                error = UiText(text::added::CataloguePointElsewhere);
                return std::nullopt;
            }
        } else {
            const QString key = PointKey<R>(machine, name);
            if (const auto seen = pointNames_.find(key); seen != pointNames_.end()) {
                error = UiText(text::added::CatalogueSamePoint).arg(seen->second);
                return std::nullopt;
            }
            int matches = 0;
            for (const R& sibling : siblings) {
                if (sibling.sName == name) {
                    point = sibling;
                    ++matches;
                }
            }
            if (matches > 1) {
                error = UiText(text::added::CataloguePointsNamed).arg(matches).arg(name);
                return std::nullopt;
            }
            isNew = matches == 0;
            guid = isNew ? MakeItemGuid() : point.sItemGUID;
        }
        if (const auto seen = pointLines_.find(guid); seen != pointLines_.end()) {
            error = UiText(text::added::CatalogueSamePoint).arg(seen->second);
            return std::nullopt;
        }
        pointNames_.emplace(PointKey<R>(machine, name), line_);
        point.sItemGUID = guid;
        point.sParentGUID = machine.machine.sItemGUID;
        point.sName = name;
        point.sVMName = row.Text(kPointMeterName).isEmpty() ? name : row.Text(kPointMeterName);
        return point;
    }

    template <class Point>
    bool Alarms(const RowCells& row, Point& point, QString& error, Column onColumn, Column warning,
                Column critical, bool Point::*on, float Point::*warningField, float Point::*criticalField) {
        if (row.Has(onColumn)) {
            const std::optional<bool> flag = row.FlagOf(onColumn);
            if (!flag) {
                error = UiText(text::added::CatalogueFlag).arg(CatalogueCsvHeader()[onColumn]);
                return false;
            }
            point.*on = *flag;
        }
        return Value(row, warning, point.*warningField, error) &&
               Value(row, critical, point.*criticalField, error);
    }

    static bool Value(const RowCells& row, Column column, float& field, QString& error) {
        if (!row.Has(column)) {
            return true;
        }
        const std::optional<float> value = row.NumberOf(column);
        if (!value) {
            error =
                QStringLiteral("%1: %2").arg(CatalogueCsvHeader()[column], UiText(text::PleaseInputNumber));
            return false;
        }
        field = *value;
        return true;
    }

    bool Room(int points, QString& error) const {
        if (points < kPointsPerMachine) {
            return true;
        }
        error =
            QString::asprintf("%d %s", kPointsPerMachine, qUtf8Printable(UiText(text::PointsPerMachineMax)));
        return false;
    }

    QString Check(const RowCells& row, CatalogueCsvRow& preview) {
        QString error;
        const QString kind = row.Text(kKind).toLower();
        if (kind != QLatin1String(kCsvKindVib) && kind != QLatin1String(kCsvKindLube) && !kind.isEmpty()) {
            return UiText(text::added::CatalogueKind);
        }
        if (kind.isEmpty() && !row.Text(kPoint).isEmpty()) {
            return UiText(text::added::CataloguePointKind);
        }
        const int line = preview.line;
        line_ = line;
        PlannedMachine* machine = MachineOf(row, line, error);
        if (!machine) {
            return error;
        }
        preview.newMachine = machine->isNew;
        if (kind.isEmpty()) {
            return {};
        }
        bool isNew = false;
        if (kind == QLatin1String(kCsvKindVib)) {
            const auto siblings =
                machine->isNew ? std::vector<CVib>{} : catalogue_.Vibs(machine->machine.sItemGUID);
            std::optional<CVib> vib = PointOf(row, *machine, siblings, isNew, error);
            if (!vib || !Value(row, kRunSpeedHz, vib->fRunSpeedHz, error) ||
                !Alarms(row, *vib, error, kIsoAlarms, kIsoWarning, kIsoCritical, &CVib::bISOAlarmsOn,
                        &CVib::fISOWarningMMS, &CVib::fISOCriticalMMS) ||
                !Alarms(row, *vib, error, kBduAlarms, kBduWarning, kBduCritical, &CVib::bBDUAlarmsOn,
                        &CVib::fBDUWarning, &CVib::fBDUCritical) ||
                (isNew && !Room(machine->vibs, error))) {
                return error;
            }
            if (auto refused = CheckVibPoint(*vib)) {
                return *refused;
            }
            machine->vibs += isNew ? 1 : 0;
            pointLines_[vib->sItemGUID] = line;
            plan_.vibs.push_back(*vib);
        } else {
            const auto siblings =
                machine->isNew ? std::vector<CLube>{} : catalogue_.Lubes(machine->machine.sItemGUID);
            std::optional<CLube> lube = PointOf(row, *machine, siblings, isNew, error);
            if (!lube ||
                !Alarms(row, *lube, error, kBduAlarms, kBduWarning, kBduCritical, &CLube::bBDUAlarmsOn,
                        &CLube::fBDUWarning, &CLube::fBDUCritical) ||
                (isNew && !Room(machine->lubes, error))) {
                return error;
            }
            if (row.Has(kLubeType)) {
                lube->sLubeType = row.Text(kLubeType);
            }
            if (row.Has(kLubeUnits)) {
                lube->sLubeUnits = row.Text(kLubeUnits);
            }
            if (auto refused = CheckLubePoint(*lube)) {
                return *refused;
            }
            machine->lubes += isNew ? 1 : 0;
            pointLines_[lube->sItemGUID] = line;
            plan_.lubes.push_back(*lube);
        }
        preview.newPoint = isNew;
        ++(isNew ? plan_.pointsAdded : plan_.pointsUpdated);
        return {};
    }

    const CatalogueLookup& catalogue_;
    CatalogueImportPlan& plan_;
    std::vector<CMachine> stored_;
    std::map<QString, PlannedMachine> machines_;
    QStringList machineOrder_;                    // planned machines in file order
    std::map<QString, QString> newMachineByName_; // name → GUID of a machine new in this file
    std::map<QString, int> pointLines_;           // planned point GUID → its line
    std::map<QString, int> pointNames_;           // planned point's machine GUID, kind and name → its line
    int line_ = 0;                                // the row being read
};

// Where each column of the file is, by the header's names; the message of a header that cannot be
// read.
std::optional<QString> FindColumns(const QStringList& header, std::array<int, kColumnCount>& positions) {
    positions.fill(-1);
    for (int at = 0; at < header.size(); ++at) {
        const QString name = header[at].trimmed();
        const auto known = std::find_if(
            CatalogueCsvHeader().cbegin(), CatalogueCsvHeader().cend(),
            [&name](const QString& column) { return column.compare(name, Qt::CaseInsensitive) == 0; });
        if (known == CatalogueCsvHeader().cend()) {
            return UiText(text::added::CatalogueUnknownColumn).arg(name);
        }
        const auto column = known - CatalogueCsvHeader().cbegin();
        if (positions[column] >= 0) {
            return UiText(text::added::CatalogueColumnTwice).arg(name);
        }
        positions[column] = at;
    }
    for (const Column required : {kMachine, kKind, kPoint}) {
        if (positions[required] < 0) {
            return UiText(text::added::CatalogueMissingColumn).arg(CatalogueCsvHeader()[required]);
        }
    }
    return std::nullopt;
}

template <class R>
bool StoreAll(std::vector<R> rows, ItemKind kind, CMainConnection& db,
              bool (CMainConnection::*get)(const QString&, R&), bool (CMainConnection::*upsert)(const R&)) {
    std::map<QString, float> next; // parent → the order value of its next new row
    for (R& row : rows) {
        R stored;
        if ((db.*get)(row.sItemGUID, stored)) {
            row.fOrder = stored.fOrder;
        } else {
            QString parent;
            if constexpr (!std::is_same_v<R, CMachine>) {
                parent = row.sParentGUID;
            }
            auto [at, fresh] = next.try_emplace(parent, 0.0f);
            if (fresh) {
                db.RenumberOrder(static_cast<int>(kind), parent);
                at->second = db.NextOrder(kind, parent);
            }
            row.fOrder = at->second;
            at->second += 1.0f;
        }
        if (!(db.*upsert)(row)) {
            return false;
        }
    }
    return true;
}

} // namespace

const QStringList& CatalogueCsvHeader() {
    static const QStringList header = {QStringLiteral("Machine"),
                                       QStringLiteral("Machine meter name"),
                                       QStringLiteral("Kind"),
                                       QStringLiteral("Point"),
                                       QStringLiteral("Point meter name"),
                                       QStringLiteral("Run speed Hz"),
                                       QStringLiteral("ISO alarms"),
                                       QStringLiteral("ISO warning mm/s"),
                                       QStringLiteral("ISO critical mm/s"),
                                       QStringLiteral("BDU alarms"),
                                       QStringLiteral("BDU warning"),
                                       QStringLiteral("BDU critical"),
                                       QStringLiteral("Lube type"),
                                       QStringLiteral("Lube units"),
                                       QStringLiteral("Machine GUID"),
                                       QStringLiteral("Point GUID")};
    return header;
}

QByteArray ExportCatalogueCsv(CMainConnection& db) {
    QString text = CsvLine(CatalogueCsvHeader());
    for (const CMachine& machine : db.ListMachines()) {
        const std::vector<CVib> vibs = db.ListVibs(machine.sItemGUID);
        const std::vector<CLube> lubes = db.ListLubes(machine.sItemGUID);
        if (vibs.empty() && lubes.empty()) {
            text += CsvLine(MachineCells(machine));
        }
        for (const CVib& vib : vibs) {
            text += CsvLine(VibCells(machine, vib));
        }
        for (const CLube& lube : lubes) {
            text += CsvLine(LubeCells(machine, lube));
        }
    }
    return text.toUtf8();
}

bool ExportCatalogueCsvFile(CMainConnection& db, const QString& path) {
    QByteArray content;
    try {
        content = ExportCatalogueCsv(db);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "the catalogue could not be read for" << path << ":" << error.what();
        return false;
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

QString CatalogueImportPlan::Summary() const {
    return UiText(text::added::CatalogueSummary)
        .arg(machinesAdded)
        .arg(machinesUpdated)
        .arg(pointsAdded)
        .arg(pointsUpdated);
}

std::vector<CMachine> DatabaseCatalogue::Machines() const {
    return db_.ListMachines();
}

std::optional<CMachine> DatabaseCatalogue::Machine(const QString& guid) const {
    CMachine machine;
    return db_.GetMachine(guid, machine) ? std::optional<CMachine>(machine) : std::nullopt;
}

std::vector<CVib> DatabaseCatalogue::Vibs(const QString& machine) const {
    return db_.ListVibs(machine);
}

std::vector<CLube> DatabaseCatalogue::Lubes(const QString& machine) const {
    return db_.ListLubes(machine);
}

std::optional<CVib> DatabaseCatalogue::Vib(const QString& guid) const {
    CVib vib;
    return db_.GetVib(guid, vib) ? std::optional<CVib>(vib) : std::nullopt;
}

std::optional<CLube> DatabaseCatalogue::Lube(const QString& guid) const {
    CLube lube;
    return db_.GetLube(guid, lube) ? std::optional<CLube>(lube) : std::nullopt;
}

CatalogueImportPlan PlanCatalogueImport(CMainConnection& db, const QByteArray& csv) {
    try {
        return PlanCatalogueImport(DatabaseCatalogue(db), csv);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "the catalogue import could not read the database:" << error.what();
        CatalogueImportPlan plan;
        plan.errors << UiText(text::ErrorLoadingRecord);
        return plan;
    }
}

CatalogueImportPlan PlanCatalogueImport(const CatalogueLookup& catalogue, const QByteArray& csv) {
    CatalogueImportPlan plan;
    const CsvTable table = ReadCsv(csv);
    if (table.records.empty()) {
        plan.errors << AtLine(kHeaderLine, UiText(text::added::CatalogueNoHeader));
        return plan;
    }
    std::array<int, kColumnCount> positions{};
    if (const auto refused = FindColumns(table.records.front().fields, positions)) {
        plan.errors << AtLine(table.records.front().line, *refused);
        return plan;
    }
    ImportPlanner planner(catalogue, plan);
    for (std::size_t i = 1; i < table.records.size(); ++i) {
        const CsvRecord& record = table.records[i];
        planner.Row(RowCells(record.fields, positions, table.separator), record.line);
    }
    planner.Finish();
    return plan;
}

bool ApplyCatalogueImport(CMainConnection& db, const CatalogueImportPlan& plan) {
    if (!plan.Ok()) {
        return false;
    }
    try {
        SqlConnection::Transaction transaction(db.Connection());
        const bool stored = StoreAll(plan.machines, ItemKind::Machines, db, &CMainConnection::GetMachine,
                                     &CMainConnection::UpsertMachine) &&
                            StoreAll(plan.vibs, ItemKind::VibPoints, db, &CMainConnection::GetVib,
                                     &CMainConnection::UpsertVib) &&
                            StoreAll(plan.lubes, ItemKind::LubePoints, db, &CMainConnection::GetLube,
                                     &CMainConnection::UpsertLube);
        return stored && transaction.Commit();
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "the catalogue import could not be stored:" << error.what();
        return false;
    }
}

} // namespace vantor
