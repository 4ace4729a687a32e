#include "store/StoreQuery.h"

#include "store/AlarmRecords.h"
#include "store/DerivedRecords.h"
#include "store/ImportedReadings.h"

namespace vantor {

std::vector<StoreQuery> AllStoreQueries() {
    std::vector<StoreQuery> all;
    for (const std::span<const StoreQuery> list :
         {derived::DerivedQueries(), AlarmQueries(), ImportedReadingQueries()}) {
        all.insert(all.end(), list.begin(), list.end());
    }
    return all;
}

} // namespace vantor
