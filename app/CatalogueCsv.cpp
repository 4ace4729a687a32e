#include "app/CatalogueCsv.h"

#include "app/PointAlarmSetup.h"

#include "app/BearingEditor.h"
#include "app/CatalogueEditor.h"
#include "app/CsvText.h"
#include "store/BearingStore.h"
#include "store/Limits.h"
#include "store/Validation.h"
#include "texts/UiText.h"

#include <QLocale>
#include <QSaveFile>
#include <QUuid>

#include <algorithm>
#include <array>
#include <cmath>
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
    // A vibration point's bearings: for each of up to four, the bearing (its designation where
    // unique in the library, else its GUID), where it sits and its speed ratio.
    kBearing1,
    kBearing1Location,
    kBearing1Ratio,
    kBearing2,
    kBearing2Location,
    kBearing2Ratio,
    kBearing3,
    kBearing3Location,
    kBearing3Ratio,
    kBearing4,
    kBearing4Location,
    kBearing4Ratio,
    kEnvelopeLowHz,
    kEnvelopeHighHz,
    kColumnCount
};

constexpr int kBearingColumns = 3; // bearing, location, ratio

Column BearingColumn(int index, int offset) {
    return static_cast<Column>(kBearing1 + index * kBearingColumns + offset);
}

constexpr int kHeaderLine = 1;

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

// The name a bearing is exported under: its designation when no other bearing carries it.
QString BearingKey(const std::vector<CBearing>& library, const QString& guid) {
    const auto bearing = std::find_if(library.begin(), library.end(),
                                      [&guid](const CBearing& b) { return b.sItemGUID == guid; });
    if (bearing == library.end()) {
        return guid;
    }
    const auto named = std::count_if(library.begin(), library.end(), [&bearing](const CBearing& b) {
        return b.sDesignation.compare(bearing->sDesignation, Qt::CaseInsensitive) == 0;
    });
    return named == 1 ? bearing->sDesignation : guid;
}

QStringList VibCells(const CMachine& machine, const CVib& vib, const std::vector<CBearing>& library,
                     const std::vector<CPointBearing>& bearings, const std::optional<EnvelopeBandRow>& band) {
    QStringList cells = MachineCells(machine);
    for (int i = 0; i < static_cast<int>(bearings.size()) && i < kBearingsPerPoint; ++i) {
        const CPointBearing& bearing = bearings[static_cast<std::size_t>(i)];
        cells[BearingColumn(i, 0)] = BearingKey(library, bearing.sBearingGUID);
        cells[BearingColumn(i, 1)] = bearing.sLocation;
        cells[BearingColumn(i, 2)] = CsvNumber(bearing.fSpeedRatio);
    }
    cells[kKind] = QString::fromLatin1(kCsvKindVib);
    cells[kPoint] = vib.sName;
    cells[kPointMeterName] = vib.sVMName;
    cells[kRunSpeedHz] = CsvNumber(vib.fRunSpeedHz);
    cells[kIsoAlarms] = Flag(vib.bISOAlarmsOn);
    cells[kIsoWarning] = CsvNumber(vib.fISOWarningMMS);
    cells[kIsoCritical] = CsvNumber(vib.fISOCriticalMMS);
    cells[kBduAlarms] = Flag(vib.bBDUAlarmsOn);
    cells[kBduWarning] = CsvNumber(vib.fBDUWarning);
    cells[kBduCritical] = CsvNumber(vib.fBDUCritical);
    cells[kPointGuid] = vib.sItemGUID;
    if (band) {
        cells[kEnvelopeLowHz] = CsvNumber(static_cast<float>(band->lowHz));
        cells[kEnvelopeHighHz] = CsvNumber(static_cast<float>(band->highHz));
    }
    return cells;
}

QStringList LubeCells(const CMachine& machine, const CLube& lube) {
    QStringList cells = MachineCells(machine);
    cells[kKind] = QString::fromLatin1(kCsvKindLube);
    cells[kPoint] = lube.sName;
    cells[kPointMeterName] = lube.sVMName;
    cells[kBduAlarms] = Flag(lube.bBDUAlarmsOn);
    cells[kBduWarning] = CsvNumber(lube.fBDUWarning);
    cells[kBduCritical] = CsvNumber(lube.fBDUCritical);
    cells[kLubeType] = lube.sLubeType;
    cells[kLubeUnits] = lube.sLubeUnits;
    cells[kPointGuid] = lube.sItemGUID;
    return cells;
}

QString AtLine(int line, const QString& message) {
    return UiText(text::added::CatalogueAtLine).arg(line).arg(message);
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
    ImportPlanner(const CatalogueLookup& catalogue, CatalogueImportPlan& plan, bool bearingColumns)
        : catalogue_(catalogue), plan_(plan), bearingColumns_(bearingColumns), stored_(catalogue.Machines()) {
        if (bearingColumns_) {
            library_ = catalogue.Bearings();
        }
    }

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

    // The bearings a vibration row gives its point, read into `plan_`; false with the message when
    // a cell is refused. A lubrication row may not give any.
    bool Bearings(const RowCells& row, const QString& point, bool vib, QString& error) {
        if (!bearingColumns_) {
            return true;
        }
        std::vector<CPointBearing> bearings;
        for (int i = 0; i < kBearingsPerPoint; ++i) {
            const QString key = row.Text(BearingColumn(i, 0));
            const QString location = row.Text(BearingColumn(i, 1));
            const QString ratio = row.Text(BearingColumn(i, 2));
            if (key.isEmpty()) {
                if (!location.isEmpty() || !ratio.isEmpty()) {
                    error = QStringLiteral("%1 is empty").arg(CatalogueCsvHeader()[BearingColumn(i, 0)]);
                    return false;
                }
                continue;
            }
            if (!vib) {
                error = QStringLiteral("only vibration points carry bearings");
                return false;
            }
            CPointBearing bearing;
            bearing.sLocation = location;
            bearing.fSpeedRatio = 1.0f;
            if (!ratio.isEmpty() && !Value(row, BearingColumn(i, 2), bearing.fSpeedRatio, error)) {
                return false;
            }
            const QString guid = BearingGuid(key);
            if (guid.isEmpty()) {
                error = QStringLiteral("%1: no single bearing has the GUID or designation \"%2\"")
                            .arg(CatalogueCsvHeader()[BearingColumn(i, 0)], key);
                return false;
            }
            bearing.sBearingGUID = guid;
            if (const auto refused = BearingEditor::CheckAssignment(bearing)) {
                error = QStringLiteral("%1: %2").arg(CatalogueCsvHeader()[BearingColumn(i, 0)], *refused);
                return false;
            }
            bearings.push_back(bearing);
        }
        if (vib) {
            plan_.pointBearings.emplace_back(point, std::move(bearings));
        }
        return true;
    }

    // The library bearing with this GUID, else the only one with this designation; empty when none.
    QString BearingGuid(const QString& key) const {
        QString named;
        int count = 0;
        for (const CBearing& bearing : library_) {
            if (bearing.sItemGUID.compare(key, Qt::CaseInsensitive) == 0) {
                return bearing.sItemGUID;
            }
            if (bearing.sDesignation.compare(key, Qt::CaseInsensitive) == 0) {
                named = bearing.sItemGUID;
                ++count;
            }
        }
        return count == 1 ? named : QString();
    }

    // The envelope columns, when the file has them: both empty for the default band, else a band
    // from above 0 Hz to above its low edge.
    bool EnvelopeBandOf(const RowCells& row, const CVib& vib, QString& error) {
        if (!row.Has(kEnvelopeLowHz) && !row.Has(kEnvelopeHighHz)) {
            return true;
        }
        const QString low = row.Text(kEnvelopeLowHz);
        const QString high = row.Text(kEnvelopeHighHz);
        if (low.isEmpty() && high.isEmpty()) {
            plan_.envelopeBands.emplace_back(vib.sItemGUID, std::nullopt);
            return true;
        }
        const std::optional<float> lowHz = low.isEmpty() ? std::nullopt : row.NumberOf(kEnvelopeLowHz);
        const std::optional<float> highHz = high.isEmpty() ? std::nullopt : row.NumberOf(kEnvelopeHighHz);
        if (!lowHz || !highHz || !std::isfinite(*lowHz) || !std::isfinite(*highHz)) {
            error = QStringLiteral("Envelope low Hz and Envelope high Hz are two numbers, or both empty");
            return false;
        }
        if (const std::optional<QString> refused = EnvelopeBandRefusal(*lowHz, *highHz)) {
            error = *refused;
            return false;
        }
        plan_.envelopeBands.emplace_back(vib.sItemGUID, EnvelopeBandRow{*lowHz, *highHz});
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
            if (!Bearings(row, vib->sItemGUID, true, error) || !EnvelopeBandOf(row, *vib, error)) {
                return error;
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
            if (!Bearings(row, lube->sItemGUID, false, error)) {
                return error;
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
    bool bearingColumns_ = false;   // the file has the bearing columns
    std::vector<CBearing> library_; // the bearing library, when it has
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
                                       QStringLiteral("Point GUID"),
                                       QStringLiteral("Bearing 1"),
                                       QStringLiteral("Bearing 1 location"),
                                       QStringLiteral("Bearing 1 ratio"),
                                       QStringLiteral("Bearing 2"),
                                       QStringLiteral("Bearing 2 location"),
                                       QStringLiteral("Bearing 2 ratio"),
                                       QStringLiteral("Bearing 3"),
                                       QStringLiteral("Bearing 3 location"),
                                       QStringLiteral("Bearing 3 ratio"),
                                       QStringLiteral("Bearing 4"),
                                       QStringLiteral("Bearing 4 location"),
                                       QStringLiteral("Bearing 4 ratio"),

                                       QStringLiteral("Envelope low Hz"),
                                       QStringLiteral("Envelope high Hz")};
    return header;
}

QByteArray ExportCatalogueCsv(CMainConnection& db) {
    QString text = CsvLine(CatalogueCsvHeader());
    CBearingStore bearings(db, StoredValues::AsStored);
    const std::vector<CBearing> library = bearings.ListBearings();
    for (const CMachine& machine : db.ListMachines()) {
        const std::vector<CVib> vibs = db.ListVibs(machine.sItemGUID);
        const std::vector<CLube> lubes = db.ListLubes(machine.sItemGUID);
        if (vibs.empty() && lubes.empty()) {
            text += CsvLine(MachineCells(machine));
        }
        for (const CVib& vib : vibs) {
            text += CsvLine(VibCells(machine, vib, library, bearings.ListPointBearings(vib.sItemGUID),
                                     derived::GetEnvelopeBand(db.Connection(), vib.sItemGUID)));
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

std::vector<CBearing> DatabaseCatalogue::Bearings() const {
    CBearingStore store(db_, StoredValues::AsStored);
    return store.ListBearings();
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
    ImportPlanner planner(catalogue, plan, positions[kBearing1] >= 0);
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
        CBearingStore bearings(db, StoredValues::AsStored);
        for (const auto& [point, assignments] : plan.pointBearings) {
            if (!stored || !bearings.ReplacePointBearings(point, assignments)) {
                return false;
            }
        }
        for (const auto& [point, band] : plan.envelopeBands) {
            if (!stored) {
                return false;
            }
            derived::PutEnvelopeBand(db.Connection(), point, band);
        }
        return stored && transaction.Commit();
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "the catalogue import could not be stored:" << error.what();
        return false;
    }
}

} // namespace vantor
