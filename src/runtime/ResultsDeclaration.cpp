#include "runtime/ResultsDeclaration.h"

namespace brv {

TResultsTables& TResultsTables::Instance()
{
    static TResultsTables instance;
    return instance;
}

void TResultsTables::Register(ExperimentId id, TResultsTablesFactory tables)
{
    tables_[id] = std::move(tables);
}

void TResultsTables::Unregister(ExperimentId id)
{
    tables_.erase(id);
}

std::vector<TResultsTableDeclaration> TResultsTables::TablesOf(ExperimentId id) const
{
    const auto found = tables_.find(id);
    if (found == tables_.end() || !found->second)
        return {};
    return found->second();
}

std::vector<ExperimentId> TResultsTables::Ids() const
{
    std::vector<ExperimentId> ids;
    for (const auto& [id, tables] : tables_)
        ids.push_back(id);
    return ids;
}

}  // namespace brv
