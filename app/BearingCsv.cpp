#include "app/BearingCsv.h"

#include "analysis/BearingFactors.h"
#include "app/BearingEditor.h"
#include "app/CsvText.h"
#include "store/BearingChecks.h"
#include "store/BearingStore.h"
#include "store/Validation.h"
#include "texts/UiText.h"

#include <QLocale>
#include <QSaveFile>
#include <QUuid>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

namespace vantor {
namespace {

enum Column : int {
    kDesignation,
    kMaker,
    kRollingElements,
    kElementDiameter,
    kPitchDiameter,
    kContactAngle,
    kFtf,
    kBsf,
    kBpfo,
    kBpfi,
    kSource,
    kGuid,
    kColumnCount
};

constexpr int kHeaderLine = 1;
constexpr Column kFactorColumns[] = {kFtf, kBsf, kBpfo, kBpfi};
constexpr Column kGeometryColumns[] = {kRollingElements, kElementDiameter, kPitchDiameter, kContactAngle};

QString AtLine(int line, const QString& message) {
    return UiText(text::added::CatalogueAtLine).arg(line).arg(message);
}

QStringList Cells(const CBearing& bearing) {
    QStringList cells;
    for (int i = 0; i < kColumnCount; ++i) {
        cells << QString();
    }
    cells[kDesignation] = bearing.sDesignation;
    cells[kMaker] = bearing.sMaker;
    if (bearing.iRollingElements > 0) {
        cells[kRollingElements] = QString::number(bearing.iRollingElements);
        cells[kElementDiameter] = CsvNumber(bearing.fRollingElementDiameterMM);
        cells[kPitchDiameter] = CsvNumber(bearing.fPitchDiameterMM);
        cells[kContactAngle] = CsvNumber(bearing.fContactAngleDeg);
    } else {
        cells[kFtf] = CsvNumber(bearing.fFTF);
        cells[kBsf] = CsvNumber(bearing.fBSF);
        cells[kBpfo] = CsvNumber(bearing.fBPFO);
        cells[kBpfi] = CsvNumber(bearing.fBPFI);
    }
    cells[kSource] = bearing.sSource;
    cells[kGuid] = bearing.sItemGUID;
    return cells;
}

class Row {
public:
    Row(const QStringList& fields, const std::array<int, kColumnCount>& positions, QChar separator)
        : fields_(fields), positions_(positions), separator_(separator) {}

    QString Text(Column column) const {
        const int at = positions_[column];
        return at >= 0 && at < fields_.size() ? fields_[at].trimmed() : QString();
    }
    bool Empty(Column column) const { return Text(column).isEmpty(); }
    // The cell's number; nothing when it is not one (an empty cell included).
    std::optional<double> NumberOf(Column column) const {
        QString text = Text(column);
        if (separator_ == QLatin1Char(';')) {
            text.replace(QLatin1Char(','), QLatin1Char('.'));
        }
        bool ok = false;
        const double value = QLocale::c().toDouble(text, &ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    }

private:
    const QStringList& fields_;
    const std::array<int, kColumnCount>& positions_;
    QChar separator_;
};

std::optional<QString> FindColumns(const QStringList& header, std::array<int, kColumnCount>& positions) {
    positions.fill(-1);
    for (int at = 0; at < header.size(); ++at) {
        const QString name = header[at].trimmed();
        const auto known =
            std::find_if(BearingCsvHeader().cbegin(), BearingCsvHeader().cend(),
                         [&name](const QString& c) { return c.compare(name, Qt::CaseInsensitive) == 0; });
        if (known == BearingCsvHeader().cend()) {
            return QStringLiteral("unknown column \"%1\"").arg(name);
        }
        const auto column = known - BearingCsvHeader().cbegin();
        if (positions[column] >= 0) {
            return QStringLiteral("column \"%1\" appears twice").arg(name);
        }
        positions[column] = at;
    }
    if (positions[kDesignation] < 0) {
        return QStringLiteral("the header has no column \"%1\"").arg(BearingCsvHeader()[kDesignation]);
    }
    return std::nullopt;
}

class Planner {
public:
    Planner(CBearingStore& store, BearingImportPlan& plan)
        : store_(store), plan_(plan), stored_(store.ListBearings()) {}

    void Take(const Row& row, int line) {
        const QString error = Check(row, line);
        if (!error.isEmpty()) {
            plan_.errors << AtLine(line, error);
        }
    }

private:
    QString Check(const Row& row, int line) {
        CBearing bearing;
        bool isNew = true;
        const QString designation = row.Text(kDesignation);
        const QString maker = row.Text(kMaker);
        QString guid = row.Text(kGuid);
        if (!guid.isEmpty()) {
            if (!IsBracedGuid(guid)) {
                return QStringLiteral("Bearing GUID is not a GUID");
            }
            isNew = !store_.GetBearing(guid, bearing);
        } else {
            int matches = 0;
            for (const CBearing& stored : stored_) {
                if (stored.sDesignation.compare(designation, Qt::CaseInsensitive) == 0 &&
                    stored.sMaker.compare(maker, Qt::CaseInsensitive) == 0) {
                    bearing = stored;
                    ++matches;
                }
            }
            if (matches > 1) {
                return QStringLiteral("%1 bearings are designated \"%2\" by \"%3\"; give the Bearing GUID")
                    .arg(matches)
                    .arg(designation, maker);
            }
            isNew = matches == 0;
            guid = isNew ? MakeItemGuid() : bearing.sItemGUID;
        }
        const QString key = designation.toLower() + QLatin1Char('\n') + maker.toLower();
        for (const QString& seen : {guid, key}) {
            if (const auto at = lines_.find(seen); at != lines_.end()) {
                return QStringLiteral("the same bearing is on line %1").arg(at->second);
            }
        }
        if (designation.isEmpty()) {
            return QStringLiteral("a bearing needs its designation");
        }
        bearing.sItemGUID = guid;
        bearing.sDesignation = designation;
        bearing.sMaker = maker;
        bearing.sSource = row.Text(kSource);

        bool geometry = false;
        bool factors = false;
        for (const Column column : kGeometryColumns) {
            geometry = geometry || (column != kContactAngle && !row.Empty(column));
        }
        for (const Column column : kFactorColumns) {
            factors = factors || !row.Empty(column);
        }
        if (geometry == factors) {
            return geometry ? QStringLiteral("give the geometry or the four factors, not both")
                            : QStringLiteral(
                                  "give the geometry (rolling elements, diameters) or the four factors");
        }
        // The numbers are judged as their float columns will hold them (1e300 is infinite there,
        // 1e-300 is 0), by the same check the editor and `bearing add` make.
        const auto stored = [&row](Column column, float& out) -> std::optional<QString> {
            const std::optional<double> value = row.NumberOf(column);
            if (!value) {
                return QStringLiteral("%1: %2").arg(BearingCsvHeader()[column],
                                                    UiText(text::PleaseInputNumber));
            }
            const double largest = std::numeric_limits<float>::max();
            if (const auto refused =
                    CheckFloatValue(BearingCsvHeader()[column], *value, {-largest, largest})) {
                return refused;
            }
            out = AsStoredFloat(*value);
            return std::nullopt;
        };
        bearing.iRollingElements = 0;
        bearing.fRollingElementDiameterMM = bearing.fPitchDiameterMM = bearing.fContactAngleDeg = 0;
        bearing.fFTF = bearing.fBSF = bearing.fBPFO = bearing.fBPFI = 0;
        if (geometry) {
            const std::optional<double> z = row.NumberOf(kRollingElements);
            if (!z) {
                return QStringLiteral("%1: %2").arg(BearingCsvHeader()[kRollingElements],
                                                    UiText(text::PleaseInputNumber));
            }
            if (*z != std::floor(*z)) {
                return QStringLiteral("the number of rolling elements must be a whole number");
            }
            for (const auto& [column, field] :
                 {std::pair{kElementDiameter, &CBearing::fRollingElementDiameterMM},
                  std::pair{kPitchDiameter, &CBearing::fPitchDiameterMM}}) {
                if (const auto refused = stored(column, bearing.*field)) {
                    return *refused;
                }
            }
            if (!row.Empty(kContactAngle)) {
                if (const auto refused = stored(kContactAngle, bearing.fContactAngleDeg)) {
                    return *refused;
                }
            }
            // Anything outside the credible range is refused by the check below; -1 stands for them all.
            bearing.iRollingElements = static_cast<int>(std::clamp(*z, -1.0, 1e6));
            if (bearing.iRollingElements <= 0) {
                return QStringLiteral("the number of rolling elements must be from %1 to %2")
                    .arg(kFewestRollingElements)
                    .arg(kMostRollingElements);
            }
        } else {
            for (std::size_t i = 0; i < std::size(kFactorColumns); ++i) {
                float* const fields[] = {&bearing.fFTF, &bearing.fBSF, &bearing.fBPFO, &bearing.fBPFI};
                if (const auto refused = stored(kFactorColumns[i], *fields[i])) {
                    return *refused;
                }
            }
        }
        if (const auto refused = CheckBearing(bearing)) {
            return *refused;
        }
        lines_[guid] = line;
        lines_[key] = line;
        ++(isNew ? plan_.added : plan_.updated);
        plan_.bearings.push_back(bearing);
        return {};
    }

    CBearingStore& store_;
    BearingImportPlan& plan_;
    std::vector<CBearing> stored_;
    std::map<QString, int> lines_; // GUID, and designation with maker, of planned rows → line
};

} // namespace

const QStringList& BearingCsvHeader() {
    static const QStringList header = {QStringLiteral("Designation"),
                                       QStringLiteral("Maker"),
                                       QStringLiteral("Rolling elements"),
                                       QStringLiteral("Element diameter mm"),
                                       QStringLiteral("Pitch diameter mm"),
                                       QStringLiteral("Contact angle deg"),
                                       QStringLiteral("FTF"),
                                       QStringLiteral("BSF"),
                                       QStringLiteral("BPFO"),
                                       QStringLiteral("BPFI"),
                                       QStringLiteral("Source"),
                                       QStringLiteral("Bearing GUID")};
    return header;
}

QByteArray ExportBearingCsv(CBearingStore& store) {
    QString text = CsvLine(BearingCsvHeader());
    for (const CBearing& bearing : store.ListBearings()) {
        text += CsvLine(Cells(bearing));
    }
    return text.toUtf8();
}

bool ExportBearingCsvFile(CBearingStore& store, const QString& path) {
    QByteArray content;
    try {
        content = ExportBearingCsv(store);
    } catch (const DatabaseError&) {
        return false;
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

QString BearingImportPlan::Summary() const {
    return QStringLiteral("Bearings: %1 new, %2 updated").arg(added).arg(updated);
}

BearingImportPlan PlanBearingImport(CBearingStore& store, const QByteArray& csv) {
    BearingImportPlan plan;
    const CsvTable table = ReadCsv(csv);
    if (table.records.empty()) {
        plan.errors << AtLine(kHeaderLine, QStringLiteral("the file has no header row"));
        return plan;
    }
    std::array<int, kColumnCount> positions{};
    if (const auto refused = FindColumns(table.records.front().fields, positions)) {
        plan.errors << AtLine(table.records.front().line, *refused);
        return plan;
    }
    try {
        Planner planner(store, plan);
        for (std::size_t i = 1; i < table.records.size(); ++i) {
            const CsvRecord& record = table.records[i];
            planner.Take(Row(record.fields, positions, table.separator), record.line);
        }
    } catch (const DatabaseError&) {
        plan.errors << UiText(text::ErrorLoadingRecord);
    }
    return plan;
}

bool ApplyBearingImport(CMainConnection& db, const BearingImportPlan& plan) {
    if (!plan.Ok()) {
        return false;
    }
    try {
        CBearingStore store(db, StoredValues::AsStored);
        SqlConnection::Transaction transaction(db.Connection());
        float next = store.NextBearingOrder();
        for (CBearing bearing : plan.bearings) {
            CBearing stored;
            if (store.GetBearing(bearing.sItemGUID, stored)) {
                bearing.fOrder = stored.fOrder;
            } else {
                bearing.fOrder = next;
                next += 1;
            }
            if (!store.UpsertBearing(bearing)) {
                return false;
            }
        }
        return transaction.Commit();
    } catch (const DatabaseError&) {
        return false;
    }
}

} // namespace vantor
