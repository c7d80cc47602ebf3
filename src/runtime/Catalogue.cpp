#include "runtime/Catalogue.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace brv {

namespace {

constexpr std::array<const char*, 6> FamilySuffixes{".HTM",      "-PLAN.HTM", "-DATA.HTM",
                                                    "-ANYS.HTM", "-CON.HTM",  "-HELP.HTM"};

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
        {ids::VoltageMovie, "Flash\\Voltage.swf", "VOLTMOD.HTM"},
        {ids::EnergyBallMovie, "Flash\\EnergyBall.swf", "ENERGY.HTM"},
        {ids::ElectronsMovie, "Flash\\Electrons.swf", "RESMODEL.HTM"},
        {ids::EnzymeMovie, "Flash\\Enzyme.swf", "ENZYME_INFO.HTM"},
        {ids::AmylaseMovie, "Flash\\Amylase.swf", "AMYLASE-INFO.HTM"},
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

std::vector<QString> TCatalogueEntry::PageNames() const
{
    const QString main = mainPage.toUpper();
    if (pages == TPages::Single || !main.endsWith(QLatin1String(FamilySuffixes[0])))
        return main.isEmpty() ? std::vector<QString>{} : std::vector<QString>{main};
    const QString stem = main.chopped(int(qstrlen(FamilySuffixes[0])));
    std::vector<QString> names;
    for (const char* suffix : FamilySuffixes)
        names.push_back(stem + QLatin1String(suffix));
    return names;
}

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
    for (const QString& page : entry.PageNames()) {
        const TCatalogueEntry* owner = FindByPage(page);
        if (owner != nullptr && owner->id != entry.id)
            throw std::logic_error("catalogue: the page " + page.toStdString() + " leads to experiment " +
                                   std::to_string(owner->id) + " already, not to " +
                                   std::to_string(entry.id));
    }
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

const TCatalogueEntry* TCatalogue::FindByPage(const QString& page) const
{
    for (const TCatalogueEntry& e : entries_)
        for (const QString& name : e.PageNames())
            if (name == page)
                return &e;
    return nullptr;
}

std::vector<const TCatalogueEntry*> TCatalogue::MenuEntries() const
{
    std::vector<const TCatalogueEntry*> menu;
    for (const TCatalogueEntry& e : entries_)
        if (e.HasForm() && e.menuPosition >= 0 && !e.menuCaption.isEmpty())
            menu.push_back(&e);
    std::stable_sort(menu.begin(), menu.end(), [](const TCatalogueEntry* a, const TCatalogueEntry* b) {
        return a->menuPosition < b->menuPosition;
    });
    return menu;
}

}  // namespace brv
