#include "runtime/Catalogue.h"

#include <algorithm>

namespace brv {

namespace {

// The Flash movies are fixed rows of the table: no form, a file beside the
// program instead.
void RegisterMovies(TCatalogue& catalogue)
{
    struct Movie {
        ExperimentId id;
        const char* file;
        const char* page;
    };
    static const Movie movies[] = {
        {100, "Flash\\Voltage.swf", "VOLTMOD.HTM"},      {101, "Flash\\EnergyBall.swf", "ENERGY.HTM"},
        {102, "Flash\\Electrons.swf", "RESMODEL.HTM"},   {104, "Flash\\Enzyme.swf", "ENZYME_INFO.HTM"},
        {105, "Flash\\Amylase.swf", "AMYLASE-INFO.HTM"},
    };
    for (const Movie& m : movies) {
        TCatalogueEntry e;
        e.id = m.id;
        e.movieFile = QString::fromLatin1(m.file);
        e.mainPage = QString::fromLatin1(m.page);
        catalogue.Register(std::move(e));
    }
}

}  // namespace

TCatalogue& TCatalogue::Instance()
{
    static TCatalogue* catalogue = [] {
        auto* c = new TCatalogue;
        RegisterMovies(*c);
        return c;
    }();
    return *catalogue;
}

void TCatalogue::Register(TCatalogueEntry entry)
{
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const TCatalogueEntry& e) { return e.id == entry.id; });
    if (it != entries_.end())
        *it = std::move(entry);
    else
        entries_.push_back(std::move(entry));
}

void TCatalogue::Unregister(ExperimentId id)
{
    std::erase_if(entries_, [id](const TCatalogueEntry& e) { return e.id == id; });
}

const TCatalogueEntry* TCatalogue::Find(ExperimentId id) const
{
    auto it =
        std::find_if(entries_.begin(), entries_.end(), [id](const TCatalogueEntry& e) { return e.id == id; });
    return it == entries_.end() ? nullptr : &*it;
}

}  // namespace brv
