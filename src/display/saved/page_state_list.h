#pragma once
#include "draw/gdi_types.h"

#include <memory>
#include <vector>

#include "display/saved/page_state.h"
#include "display/pages/screen_page.h"

class ScreenPageList;

// The page list turned into its saved form and back.

// A copy of what the list holds; call with the list's lock held. Cheap enough for that:
// pictures are shared, not copied, and texts are short.
SavedPages SavedPagesOf(const ScreenPageList& pages);

// Pages made anew from a saved list, without any lock; pictures are decoded here, no
// larger than a valid `fitTo`. A round page ends when it ended before the restart.
std::vector<std::unique_ptr<ScreenPage>> PagesFromSaved(const SavedPages& saved, SIZE fitTo);
