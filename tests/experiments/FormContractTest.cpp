// The contract every experiment form of the catalogue keeps, run over each
// form that registered its traits (support/FormContract.h).
#include "experiments/ExperimentCatalogue.h"
#include "runtime/Catalogue.h"
#include "runtime/ExperimentForm.h"
#include "support/FormContract.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace brv::test {

namespace {

std::vector<TFormTraits>& Registry()
{
    static std::vector<TFormTraits> traits;
    return traits;
}

}  // namespace

bool RegisterFormTraits(TFormTraits traits)
{
    Registry().push_back(std::move(traits));
    return true;
}

const std::vector<TFormTraits>& RegisteredFormTraits()
{
    return Registry();
}

namespace {

TEST(FormContractSuite, CoversEveryFormOfTheCatalogue)
{
    RegisterExperiments();
    for (const TCatalogueEntry& entry : TCatalogue::Instance().Entries()) {
        if (!entry.HasForm())
            continue;
        const auto& all = RegisteredFormTraits();
        const bool covered =
            std::any_of(all.begin(), all.end(), [&](const TFormTraits& t) { return t.id == entry.id; });
        EXPECT_TRUE(covered) << "experiment " << entry.id << " has no traits for the contract suite";
    }
}

}  // namespace

}  // namespace brv::test
