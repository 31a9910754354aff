#pragma once

#include "ui/PageModule.h"

#include <memory>
#include <vector>

class TFormMain;

// The one list of the main window's pages, in the order of the navigation tree.
std::vector<std::unique_ptr<PageModule>> createPageModules(TFormMain &main);
