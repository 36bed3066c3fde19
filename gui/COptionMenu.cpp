#include "gui/COptionMenu.h"

#include "gui/CBitmap.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace quillory {

COptionMenu::COptionMenu(const CRect& rect, CControlListener* menuListener, int32_t menuTag,
                         CBitmap* bitmap, CBitmap* clickedBitmap)
    : CParamDisplay(rect, bitmap), bgWhenClick(clickedBitmap) {
    listener = menuListener;
    tag = menuTag;
    if (bgWhenClick != nullptr) {
        bgWhenClick->remember();
    }
}

COptionMenu::~COptionMenu() {
    removeAllEntry();
    if (bgWhenClick != nullptr) {
        bgWhenClick->forget();
    }
}

bool COptionMenu::isTypeOf(const char* name) const {
    return name != nullptr &&
           (std::strcmp(name, "COptionMenu") == 0 || CParamDisplay::isTypeOf(name));
}

COptionMenu::EntryKind COptionMenu::kindOf(const char* text) {
    if (text[0] != '-') {
        return EntryKind::kItem;
    }
    switch (text[1]) {
    case '\0':
        return EntryKind::kSeparator;
    case 'T':
        return EntryKind::kTitle;
    case 'G':
        return EntryKind::kGreyed;
    case 'M':
        return EntryKind::kSubMenu;
    default:
        return EntryKind::kItem;
    }
}

bool COptionMenu::isItem(int32_t index) const {
    const EntryKind kind = kindOf(entries[static_cast<size_t>(index)]->text);
    return kind != EntryKind::kSeparator && kind != EntryKind::kTitle;
}

const char* COptionMenu::entryText(int32_t index) const {
    return inRange(index) ? entries[static_cast<size_t>(index)]->text : nullptr;
}

const char* COptionMenu::shownText(int32_t index) const {
    const char* text = entryText(index);
    if (text == nullptr) {
        return nullptr;
    }
    const size_t skip = static_cast<size_t>(std::max(prefixNumbers, 0));
    return text + std::min(skip, std::strlen(text));
}

// Numbered texts for prefix modes 2, 3 and 4 (digits of the number); the number is the
// entry's position plus one. Only plain items and sub-menu entries are numbered, so that a
// separator or title keeps the prefix that makes it one.
void COptionMenu::storeText(Entry& entry, const char* text, bool subMenu, int32_t number) const {
    const char* body = text != nullptr ? text : "";
    const char* marker = subMenu ? "-M" : "";
    const bool numbered =
        (prefixNumbers >= 2 && prefixNumbers <= 4) && (subMenu || kindOf(body) == EntryKind::kItem);
    if (numbered) {
        std::snprintf(entry.text, sizeof entry.text, "%s%0*d %s", marker, prefixNumbers - 1, number,
                      body);
    } else {
        std::snprintf(entry.text, sizeof entry.text, "%s%s", marker, body);
    }
}

bool COptionMenu::insertEntry(std::unique_ptr<Entry> entry, int32_t position) {
    try {
        entries.insert(entries.begin() + position, std::move(entry));
    } catch (const std::bad_alloc&) {
        return false;
    }
    entryCount.store(static_cast<int32_t>(entries.size()), std::memory_order_release);
    if (getCurrentIndex() < 0) {
        currentIndex.store(0, std::memory_order_relaxed);
    }
    return true;
}

bool COptionMenu::addEntry(const char* text, int32_t index) {
    const int32_t count = getNbEntries();
    if (count >= kOptionMenuMaxEntries) {
        return false;
    }
    auto entry = std::unique_ptr<Entry>(new (std::nothrow) Entry);
    if (entry == nullptr) {
        return false;
    }
    const int32_t position = index >= 0 && index < count ? index : count;
    storeText(*entry, text, false, position + 1);
    const int32_t current = getCurrentIndex();
    if (!insertEntry(std::move(entry), position)) {
        return false;
    }
    if (index >= 0 && current >= index) {
        currentIndex.store(current + 1, std::memory_order_relaxed);
    }
    return true;
}

bool COptionMenu::addEntry(COptionMenu* subMenu, const char* text) {
    const int32_t count = getNbEntries();
    if (count >= kOptionMenuMaxEntries || subMenu == nullptr || text == nullptr) {
        return false;
    }
    auto entry = std::unique_ptr<Entry>(new (std::nothrow) Entry);
    if (entry == nullptr) {
        return false;
    }
    storeText(*entry, text, true, count + 1);
    try {
        subMenus.reserve(subMenus.size() + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!insertEntry(std::move(entry), count)) {
        return false;
    }
    subMenus.push_back(subMenu);
    subMenu->remember();
    return true;
}

int32_t COptionMenu::getCurrent(char* text, bool countSeparator) const {
    const int32_t current = getCurrentIndex();
    if (!inRange(current)) {
        return -1;
    }
    if (text != nullptr) {
        std::memcpy(text, entries[static_cast<size_t>(current)]->text, kOptionMenuEntryLength);
    }
    if (countSeparator) {
        return current;
    }
    int32_t items = 0;
    for (int32_t index = 0; index < current; ++index) {
        items += isItem(index) ? 1 : 0;
    }
    return items;
}

bool COptionMenu::setCurrent(int32_t index, bool countSeparator) {
    if (!inRange(index)) {
        return false;
    }
    int32_t chosen = getNbEntries() - 1; // fewer items than asked for: the last entry
    if (countSeparator) {
        if (kindOf(entries[static_cast<size_t>(index)]->text) == EntryKind::kSeparator) {
            return false;
        }
        chosen = index;
    } else {
        int32_t items = 0;
        for (int32_t position = 0; position < getNbEntries(); ++position) {
            if (isItem(position) && items++ == index) {
                chosen = position;
                break;
            }
        }
    }
    currentIndex.store(chosen, std::memory_order_relaxed);
    if ((style & kOptionMenuMultipleCheck) != 0) {
        std::atomic<bool>& mark = entries[static_cast<size_t>(chosen)]->checked;
        mark.store(!mark.load());
    }
    setDirty(true);
    return true;
}

bool COptionMenu::getEntry(int32_t index, char* text) const {
    if (!inRange(index)) {
        return false;
    }
    if (text != nullptr) {
        std::memcpy(text, entries[static_cast<size_t>(index)]->text, kOptionMenuEntryLength);
    }
    return true;
}

bool COptionMenu::setEntry(int32_t index, const char* text) {
    if (!inRange(index)) {
        return false;
    }
    if (text != nullptr) {
        Entry& entry = *entries[static_cast<size_t>(index)];
        std::snprintf(entry.text, sizeof entry.text, "%s", text);
    }
    return true;
}

bool COptionMenu::removeEntry(int32_t index) {
    if (!inRange(index)) {
        return false;
    }
    entries.erase(entries.begin() + index);
    const int32_t count = static_cast<int32_t>(entries.size());
    entryCount.store(count, std::memory_order_release);
    const int32_t current = getCurrentIndex();
    if (count == 0) {
        currentIndex.store(-1, std::memory_order_relaxed);
    } else if (current >= index) {
        currentIndex.store(current - 1, std::memory_order_relaxed);
    }
    return true;
}

bool COptionMenu::removeAllEntry() {
    entryCount.store(0, std::memory_order_release);
    entries.clear();
    for (COptionMenu* subMenu : subMenus) {
        subMenu->forget();
    }
    subMenus.clear();
    currentIndex.store(-1, std::memory_order_relaxed);
    return true;
}

int32_t COptionMenu::getNbEntries() const {
    return entryCount.load(std::memory_order_acquire);
}

int32_t COptionMenu::getIndex(const char* text) const {
    if (text == nullptr) {
        return -1;
    }
    for (int32_t index = 0; index < getNbEntries(); ++index) {
        if (std::strcmp(entries[static_cast<size_t>(index)]->text, text) == 0) {
            return index;
        }
    }
    return -1;
}

bool COptionMenu::checkEntry(int32_t index, bool state) {
    if (!inRange(index)) {
        return false;
    }
    entries[static_cast<size_t>(index)]->checked.store(state);
    return true;
}

bool COptionMenu::checkEntryAlone(int32_t index) {
    if (!inRange(index)) {
        return false;
    }
    for (const auto& entry : entries) {
        entry->checked.store(false);
    }
    entries[static_cast<size_t>(index)]->checked.store(true);
    return true;
}

bool COptionMenu::isCheckEntry(int32_t index) const {
    return inRange(index) && entries[static_cast<size_t>(index)]->checked.load();
}

COptionMenu* COptionMenu::getSubMenu(int32_t index) const {
    if (index < 0 || index >= getNbSubMenus()) {
        return nullptr;
    }
    return subMenus[static_cast<size_t>(index)];
}

void COptionMenu::setValue(float newValue) {
    const int32_t count = getNbEntries();
    // Written so that NaN and values beyond the int range fail the test too.
    if (!(newValue > -1.0f && newValue < static_cast<float>(count))) {
        return;
    }
    const auto index = static_cast<int32_t>(newValue);
    currentIndex.store(index, std::memory_order_relaxed);
    if ((style & kOptionMenuMultipleCheck) != 0) {
        std::atomic<bool>& mark = entries[static_cast<size_t>(index)]->checked;
        mark.store(!mark.load());
    }
    storeValue(newValue);
    setDirty(true);
}

void COptionMenu::draw(CDrawContext* context) {
    drawText(context, shownText(getCurrentIndex()));
}

} // namespace quillory
