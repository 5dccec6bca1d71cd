#pragma once

// Model operations of the "Define Your Market Groups" workshop. A market group bundles customers,
// services (the case's products) and capabilities; each of its three reference lists holds
// TRankedItem entries whose Name is the user's remark on the chosen element:
//
//   CustomerRefs    Rank = position in Customers
//   ServiceRefs     Rank = position in Products, Link = service type (0 independent, else partner)
//   CapabilityRefs  Rank = -1 and Link = position in the general Capabilities, or
//                   Rank = product position and Link = position in that product's Capabilities
//
// The window offers the elements in three multi-select lists whose indices are model positions;
// the capability list holds the general capabilities, then each product's own ones in product
// order. Stored positions are never trusted: a reference that names nothing maps to no list entry.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/case_data.h"
#include "model/core_text.h"
#include "model/questions.h"

class CaseEdit;

namespace market_groups {

enum class Category { Customers, Services, Capabilities };

inline constexpr int kIndependent = 0;
inline constexpr int kPartner = 1;

inline constexpr const char* kSpecialCapabilitiesQuestion =
    CORE_TEXT("Questions", "Add special capabilities of selected services, too?");
inline constexpr const char* kDeleteQuestion = CORE_TEXT("Questions", "Delete item '%s'?");
inline constexpr const char* kNameExistsMessage =
    CORE_TEXT("Workshop texts", "A market group named '%s' exists already.");

// The texts of the three choice lists, in list order (list index = model position; the capability
// list as described above).
struct ChoiceLists {
    std::vector<std::string> customers;
    std::vector<std::string> services;
    std::vector<std::string> capabilities;
};
ChoiceLists choiceLists(const TCaseData& data);

// The Rank (owner) and Link of the capability at a choice-list index; none when the index lies
// outside the list.
struct CapabilityPosition {
    int32_t rank = -1;
    int32_t link = -1;
    bool operator==(const CapabilityPosition&) const = default;
};
std::optional<CapabilityPosition> capabilityAt(const TCaseData& data, int choice);
// The choice-list index of the capability a CapabilityRefs entry names; -1 when it names none.
int capabilityChoiceOf(const TCaseData& data, const TRankedItem& ref);

// Which entries of the three lists are selected, as list indices.
struct Selection {
    std::vector<int> customers;
    std::vector<int> services;
    std::vector<int> capabilities;
    bool operator==(const Selection&) const = default;
};

// Asks whether to add the special capabilities of the selected services; on Yes adds every
// capability of every selected product to `selection.capabilities` (what was chosen stays).
void askForSpecialCapabilities(const TCaseData& data, Selection& selection, Questions& ask);

enum class CreateOutcome {
    Created,
    NoName,     // the name box is empty: the command is not available
    NameExists, // a group with exactly this name exists: nothing changed
};

// Creates a group named `name` with the selected elements, after the special-capabilities
// question, and appends it to MarketGroups. `selection` comes back as the lists must show it
// (the question may have added capabilities).
CreateOutcome createGroup(CaseEdit& edit, std::string_view name, Selection& selection, Questions& ask);

// Renames group `group` and makes its entries those of `selection`: entries whose element is no
// longer selected (or that name nothing) go, kept ones keep their remarks and service types, newly
// selected elements are appended. Always one undo step. False when `group` names no group.
bool modifyGroup(CaseEdit& edit, int group, std::string_view name, Selection& selection, Questions& ask);

// Asks "Delete item '%s'?" with the group's name and, on Yes, removes the group.
bool deleteGroup(CaseEdit& edit, int group, Questions& ask);

// One node of the group tree, in display order (depth first). Depth is 0 for a group, 1 for the
// three headings and 2 for the element nodes; Copy indents by it.
struct TreeNode {
    enum class Kind { Group, Heading, Entry };
    Kind kind = Kind::Group;
    int depth = 0;
    std::string text; // a heading's is a key of the context "Workshop texts"
    int group = -1;
    Category category = Category::Customers; // headings and entries
    int entry = -1;                          // entries: position in the group's reference list
};
// The tree of every group: the group's name, then "CUSTOMERS", "SERVICES" and "CAPABILITIES"
// with the named elements below each. Under "CAPABILITIES" the general capabilities come first,
// then the special ones, each in entry order.
std::vector<TreeNode> groupTree(const TCaseData& data);

// The entry a tree node shows; null for group and heading nodes or a position out of range.
TRankedItem* entryOf(TCaseData& data, const TreeNode& node);
const TRankedItem* entryOf(const TCaseData& data, const TreeNode& node);

// What the window shows when a node is selected.
struct NodeView {
    std::string groupName;
    bool remarksEnabled = false; // an entry node
    std::string remark;
    bool typeEnabled = false;    // a node under "SERVICES"
    int serviceType = kIndependent;
    Selection selection;         // the group's elements, as list indices in ascending order
};
// The view of a node; a node whose group does not exist gives an empty view.
NodeView viewOf(const TCaseData& data, const TreeNode& node);

// Stores the remark of the node's entry; one undo step, only when the text differs.
bool setRemark(CaseEdit& edit, const TreeNode& node, std::string_view remark);
// Stores the service type of a service entry; one undo step, only when the shown type changes.
bool setServiceType(CaseEdit& edit, const TreeNode& node, int type);

} // namespace market_groups
