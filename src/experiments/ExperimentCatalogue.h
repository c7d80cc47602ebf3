// Fills the runtime catalogue with every experiment form of the program.
#pragma once

#include "runtime/Catalogue.h"

namespace brv {

// Registers one row per experiment; safe to call more than once.
void RegisterExperiments();

// The row of an experiment of this build: the form the id creates, the order
// of its large-buttons call, the lesson pages that lead to it (its main page,
// or the main page's family) and its Experiments-menu item.
template <class Form>
TCatalogueEntry Row(ExperimentId id, TLargeButtonsCall order, const char* mainPage, TPages pages,
                    const QString& menuCaption, int menuPosition)
{
    TCatalogueEntry e;
    e.id = id;
    e.create = [] { return new Form; };
    e.largeButtons = order;
    e.mainPage = QString::fromLatin1(mainPage);
    e.pages = pages;
    e.menuCaption = menuCaption;
    e.menuPosition = menuPosition;
    return e;
}

}  // namespace brv
