// The catalogue import's planner as pure code: a catalogue held in memory stands where the database
// would be, and every refusal of a header or a row is checked with its message and line.
#include "app/CatalogueCsv.h"
#include "texts/UiText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vantor {
namespace {

// A stored catalogue in plain vectors, for the planner's reads.
class MemoryCatalogue final : public CatalogueLookup {
public:
    std::vector<CMachine> machines;
    std::vector<CVib> vibs;
    std::vector<CLube> lubes;

    std::vector<CMachine> Machines() const override { return machines; }
    std::optional<CMachine> Machine(const QString& guid) const override { return Find(machines, guid); }
    std::vector<CVib> Vibs(const QString& machine) const override { return Children(vibs, machine); }
    std::vector<CLube> Lubes(const QString& machine) const override { return Children(lubes, machine); }
    std::optional<CVib> Vib(const QString& guid) const override { return Find(vibs, guid); }
    std::optional<CLube> Lube(const QString& guid) const override { return Find(lubes, guid); }

private:
    template <class R> static std::optional<R> Find(const std::vector<R>& rows, const QString& guid) {
        const auto found =
            std::find_if(rows.cbegin(), rows.cend(), [&](const R& r) { return r.sItemGUID == guid; });
        return found == rows.cend() ? std::nullopt : std::optional<R>(*found);
    }
    template <class R> static std::vector<R> Children(const std::vector<R>& rows, const QString& parent) {
        std::vector<R> children;
        std::copy_if(rows.cbegin(), rows.cend(), std::back_inserter(children),
                     [&](const R& r) { return r.sParentGUID == parent; });
        return children;
    }
};

const QByteArray kHeader = "Machine,Kind,Point,Run speed Hz,Machine GUID,Point GUID\r\n";
const QString kFan = QStringLiteral("{6c2f0c9e-0d1b-4a51-9a57-0e2b1d7b3a11}");
const QString kPump = QStringLiteral("{0b6b3d4e-5f70-4c1a-8e2d-9f0a1b2c3d44}");
const QString kPumpDe = QStringLiteral("{a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d}");

MemoryCatalogue Stored() {
    MemoryCatalogue catalogue;
    for (const auto& [guid, name] :
         {std::pair{kFan, QStringLiteral("Fan")}, std::pair{kPump, QStringLiteral("Pump")},
          std::pair{QStringLiteral("{11111111-2222-4333-8444-555555555555}"), QStringLiteral("Pump")}}) {
        CMachine machine;
        machine.sItemGUID = guid;
        machine.sName = machine.sVMName = name;
        catalogue.machines.push_back(machine);
    }
    for (const QString& guid : {kPumpDe, QStringLiteral("{22222222-3333-4444-8555-666666666666}")}) {
        CVib vib;
        vib.sItemGUID = guid;
        vib.sParentGUID = kPump;
        vib.sName = vib.sVMName = QStringLiteral("DE");
        vib.fRunSpeedHz = 25;
        catalogue.vibs.push_back(vib);
    }
    return catalogue;
}

TEST(CatalogueImportPlan, EveryRefusalNamesItsLineAndStoresNothing) {
    struct Case {
        const char* name;
        QByteArray csv;
        QString error; // the only error, with its line
    };
    const Case cases[] = {
        {"no header", "", QStringLiteral("line 1: the file has no header row")},
        {"unknown column", "Machine,Kind,Point,Colour\r\nFan,,,red\r\n",
         QStringLiteral("line 1: unknown column \"Colour\"")},
        {"duplicate column", "Machine,Kind,Point,kind\r\n",
         QStringLiteral("line 1: column \"kind\" appears twice")},
        {"missing column", "Machine,Point\r\n", QStringLiteral("line 1: the header has no column \"Kind\"")},
        {"bad machine GUID", kHeader + "Fan,vib,DE,25,{not-a-guid},\r\n",
         QStringLiteral("line 2: Machine GUID is not a GUID")},
        {"bad point GUID", kHeader + "Fan,vib,DE,25,,12345\r\n",
         QStringLiteral("line 2: Point GUID is not a GUID")},
        {"another machine's point GUID", kHeader + "Fan,vib,DE,25,," + kPumpDe.toUtf8() + "\r\n",
         QStringLiteral("line 2: the point with this GUID belongs to another machine")},
        {"ambiguous machine name", kHeader + "Pump,vib,NDE,25,,\r\n",
         QStringLiteral("line 2: 2 machines are named \"Pump\"; give the Machine GUID")},
        {"ambiguous point name", kHeader + "Pump,vib,DE,25," + kPump.toUtf8() + ",\r\n",
         QStringLiteral("line 2: 2 points are named \"DE\"; give the Point GUID")},
        {"point without kind", kHeader + "Fan,,DE,25,,\r\n",
         QStringLiteral("line 2: a point needs its Kind, vib or lube")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CatalogueImportPlan plan = PlanCatalogueImport(Stored(), c.csv);
        EXPECT_EQ(plan.errors, QStringList{c.error});
        EXPECT_TRUE(plan.vibs.empty());
        EXPECT_TRUE(plan.lubes.empty());
    }
}

TEST(CatalogueImportPlan, RowsMatchTheStoredCatalogueByGuidThenByName) {
    const QByteArray csv = kHeader + "Fan,vib,DE,25,,\r\n" + "Pump,vib,DE,30," + kPump.toUtf8() + "," +
                           kPumpDe.toUtf8() + "\r\n" + "Kiln,vib,Roller,5,,\r\n";
    const CatalogueImportPlan plan = PlanCatalogueImport(Stored(), csv);
    ASSERT_TRUE(plan.Ok()) << plan.errors.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(plan.Summary(), QStringLiteral("Machines: 1 new, 2 updated; points: 2 new, 1 updated"));
    ASSERT_EQ(plan.vibs.size(), 3u);
    EXPECT_EQ(plan.vibs[1].sItemGUID, kPumpDe);
    EXPECT_EQ(plan.vibs[1].fRunSpeedHz, 30.0f);
    EXPECT_EQ(plan.machines[0].sItemGUID, kFan);
}

TEST(CatalogueImportPlan, MessagesFollowTheLanguage) {
    QStringList texts;
    for (int i = 0; i < UiTextAllCount; ++i) {
        texts << UiText(i);
    }
    texts[text::added::CatalogueAtLine] = QStringLiteral("ligne %1 : %2");
    texts[text::added::CatalogueNoHeader] = QStringLiteral("le fichier n'a pas d'en-tête");
    ASSERT_TRUE(UiTextTable::Replace(texts));
    const CatalogueImportPlan plan = PlanCatalogueImport(Stored(), "");
    UiTextTable::ResetToDefaults();
    EXPECT_EQ(plan.errors, QStringList{QStringLiteral("ligne 1 : le fichier n'a pas d'en-tête")});
}

} // namespace
} // namespace vantor
