#pragma once

// The ten workshops as the shell offers them: identifiers, captions, menu items, tool buttons and
// help. The identifier travels in open requests and is what a workshop window answers to.

#include <span>

namespace workshop_id {
inline constexpr int Future = 18;
inline constexpr int Environment = 33;
inline constexpr int Competitors = 52;
inline constexpr int Customers = 11;
inline constexpr int Products = 97;
inline constexpr int Capabilities = 65;
inline constexpr int Alliances = 61;
inline constexpr int MarketGroups = 22;
inline constexpr int BusinessPlan = 55;
inline constexpr int ActionPage = 27;
} // namespace workshop_id

struct WorkshopEntry {
    int number;              // 1..10, the order of the menu
    int identifier;
    const char* captionWord; // joined to the file name in the window caption
    const char* menuText;
    const char* menuHint;
    int helpContext;
    const char* shortcut;     // "Ctrl+1" ...
    const char* buttonName;   // object name of the tool button
    const char* buttonHint;   // "short|long"
    const char* helpPage;     // page in the help resources
    // Whether the window reloads itself each time it becomes the active child. Picture Your Future
    // does not: it is the one workshop whose fields keep what is in them while the user looks
    // elsewhere.
    bool refreshOnActivation;
};

std::span<const WorkshopEntry> workshopCatalog();
// The entry of an identifier, or nullptr.
const WorkshopEntry* findWorkshop(int identifier);
