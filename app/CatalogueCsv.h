#pragma once
// The catalogue as a spreadsheet: one row per point (a machine without points is one row of its
// own), UTF-8 with a header row. Export writes every machine in order, its vibration points, then
// its lubrication points. Import matches machines by GUID or name and points by GUID or by machine
// and name, so a row updates its point in place and never adds a second one; every row is checked
// with the editors' validations and limits first, and nothing is stored unless every row passes.

#include "store/MainConnection.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace vantor {

// The header row, in file order. On import the columns are found by these names (case and
// surrounding blanks ignored), in any order; Machine, Kind and Point are required, a missing
// optional column keeps a stored row's value and gives a new row its default.
const QStringList& CatalogueCsvHeader();

// The kinds of the Kind column.
inline constexpr const char* kCsvKindVib = "vib";
inline constexpr const char* kCsvKindLube = "lube";

// The whole catalogue, comma-separated, with CRLF line ends.
QByteArray ExportCatalogueCsv(CMainConnection& db);
// Writes it to a file, replaced whole or not at all; false when the catalogue or the file failed.
bool ExportCatalogueCsvFile(CMainConnection& db, const QString& path);

// One data row as the import understood it, for a preview.
struct CatalogueCsvRow {
    int line = 0;
    QStringList cells; // in header order, as read
    bool newMachine = false;
    bool newPoint = false; // false also for a row without a point
    QString error;         // the first refused rule of the row; empty when it passes
};

// What an import would store.
struct CatalogueImportPlan {
    std::vector<CatalogueCsvRow> rows;
    QStringList errors;             // "line N: message", in line order
    std::vector<CMachine> machines; // new ones without an order value yet
    std::vector<CVib> vibs;
    std::vector<CLube> lubes;
    int machinesAdded = 0;
    int machinesUpdated = 0;
    int pointsAdded = 0;
    int pointsUpdated = 0;

    bool Ok() const { return errors.isEmpty(); }
    // "Machines: 2 new, 1 updated; points: 5 new, 3 updated".
    QString Summary() const;
};

// What the import's planner reads of the stored catalogue.
class CatalogueLookup {
public:
    virtual ~CatalogueLookup() = default;
    virtual std::vector<CMachine> Machines() const = 0; // in their order
    virtual std::optional<CMachine> Machine(const QString& guid) const = 0;
    virtual std::vector<CVib> Vibs(const QString& machine) const = 0;
    virtual std::vector<CLube> Lubes(const QString& machine) const = 0;
    virtual std::optional<CVib> Vib(const QString& guid) const = 0;
    virtual std::optional<CLube> Lube(const QString& guid) const = 0;
};

// The catalogue of a database, read through its record access (which throws DatabaseError).
class DatabaseCatalogue final : public CatalogueLookup {
public:
    explicit DatabaseCatalogue(CMainConnection& db) : db_(db) {}
    std::vector<CMachine> Machines() const override;
    std::optional<CMachine> Machine(const QString& guid) const override;
    std::vector<CVib> Vibs(const QString& machine) const override;
    std::vector<CLube> Lubes(const QString& machine) const override;
    std::optional<CVib> Vib(const QString& guid) const override;
    std::optional<CLube> Lube(const QString& guid) const override;

private:
    CMainConnection& db_;
};

// Reads and checks the file's rows against the stored catalogue; stores nothing. The messages are
// UI texts (text::added), so they follow the language.
CatalogueImportPlan PlanCatalogueImport(const CatalogueLookup& catalogue, const QByteArray& csv);
// The same against the database; a database failure is the plan's error "Error loading record".
CatalogueImportPlan PlanCatalogueImport(CMainConnection& db, const QByteArray& csv);

// Stores a plan without errors in one transaction: new machines after the existing ones and new
// points after their machine's existing ones, in file order. False, with nothing stored, when the
// plan has errors or the database refuses.
bool ApplyCatalogueImport(CMainConnection& db, const CatalogueImportPlan& plan);

} // namespace vantor
