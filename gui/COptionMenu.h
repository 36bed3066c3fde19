#pragma once
// A parameter display holding a list of text entries: it shows the current entry and, on a
// click, opens a popup menu of the entries; the entry picked there becomes its value and is
// reported to its listener.
//
// Entry kinds by text: "-" is a separator, "-T..." a title, "-G..." a greyed item, "-M..." a
// sub-menu (the k-th "-M" entry opens the k-th sub-menu), anything else a plain item.
//
// Threads: entries are added and removed on the user-interface thread only, before the menu
// is shared; setValue may then be called from any thread (host automation) while the
// user-interface thread draws.

#include "gui/CParamDisplay.h"
#include "gui/platform/PopupMenu.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillory {

class CControlListener;

// Style bits read by the option menu, besides the display's own.
enum : int32_t {
    kOptionMenuMultipleCheck = 0x1, // every plain entry has its own check mark
    kOptionMenuPopupStyle = 0x200,  // the popup opens at the top edge, not the bottom
    kOptionMenuCheckStyle = 0x400,  // the current entry shows a check mark
};

inline constexpr int32_t kOptionMenuMaxEntries = 1024;
inline constexpr int32_t kOptionMenuEntryLength = 256; // buffer size, terminator included

class COptionMenu : public CParamDisplay {
public:
    COptionMenu(const CRect& size, CControlListener* listener, int32_t tag,
                CBitmap* background = nullptr, CBitmap* bgWhenClick = nullptr);
    ~COptionMenu() override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = -1) override;
    void looseFocus(CDrawContext* context = nullptr) override;
    void takeFocus(CDrawContext* context = nullptr) override;
    bool isTypeOf(const char* name) const override;
    // Makes entry int(value) current and stores `value`; outside the entries nothing changes.
    void setValue(float newValue) override;

    // Appends (`index` < 0) or inserts `text` (null: empty), numbered by the prefix mode.
    virtual bool addEntry(const char* text, int32_t index = -1);
    // Appends a "-M" entry opening `subMenu`, which the menu then holds a reference to.
    virtual bool addEntry(COptionMenu* subMenu, const char* text);
    // The current position (counting every entry, or only items when !countSeparator);
    // copies the entry's whole text into `text` (256 bytes) when given. -1 without one.
    virtual int32_t getCurrent(char* text = nullptr, bool countSeparator = true) const;
    virtual bool setCurrent(int32_t index, bool countSeparator = true);
    virtual bool getEntry(int32_t index, char* text) const;
    virtual bool setEntry(int32_t index, const char* text);
    virtual bool removeEntry(int32_t index);
    virtual bool removeAllEntry();
    virtual int32_t getNbEntries() const;
    virtual int32_t getIndex(const char* text) const;
    virtual bool checkEntry(int32_t index, bool state);
    virtual bool checkEntryAlone(int32_t index);
    virtual bool isCheckEntry(int32_t index) const;
    virtual void setNbItemsPerColumn(int32_t count) { nbItemsPerColumn = count; }
    virtual int32_t getNbItemsPerColumn() const { return nbItemsPerColumn; }
    // 2, 3 or 4: entries added later get a number of that many digits ("01 Sine"); any
    // other mode numbers nothing.
    virtual void setPrefixNumbers(int32_t mode) { prefixNumbers = mode; }

    int32_t getNbSubMenus() const { return static_cast<int32_t>(subMenus.size()); }
    COptionMenu* getSubMenu(int32_t index) const;
    // The command number picked in the last popup (-1: none) and the menu it belonged to.
    int32_t getLastResult() const { return lastResult; }
    COptionMenu* getLastItemMenu() const { return lastMenu; }
    int32_t getLastButton() const { return lastButton; }

    // The popup as it would be shown now, numbered from `firstCommand`; the menus of the
    // tree in numbering order with the first number of each go to `ranges`.
    struct MenuRange {
        COptionMenu* menu;
        int32_t firstCommand;
    };
    gui::PopupMenu buildPopup(int32_t& nextCommand, std::vector<MenuRange>& ranges) const;
    // The menu of the tree that owns `command` and the entry position within it.
    static bool findCommand(const std::vector<MenuRange>& ranges, int32_t command,
                            COptionMenu*& menu, int32_t& position);

protected:
    // A press's first steps, shared with subclasses that draw the pressed state themselves:
    // checks that the menu takes the click, remembers the buttons and offers modifier clicks
    // to the listener. True when the popup should follow.
    bool acceptClick(CDrawContext* context, int32_t buttons);
    // The entry's whole text, or null outside the entries.
    const char* entryText(int32_t index) const;
    // The entry's text as the bar shows it: without its number prefix.
    const char* shownText(int32_t index) const;
    int32_t getCurrentIndex() const { return currentIndex.load(std::memory_order_relaxed); }

    CBitmap* bgWhenClick = nullptr;
    int32_t lastButton = kMouseRight;
    int32_t nbItemsPerColumn = -1;
    int32_t lastResult = -1;
    int32_t prefixNumbers = 0;
    COptionMenu* lastMenu = nullptr;

private:
    struct Entry {
        char text[kOptionMenuEntryLength] = {};
        std::atomic<bool> checked{false};
    };
    enum class EntryKind { kItem, kSeparator, kTitle, kGreyed, kSubMenu };
    static EntryKind kindOf(const char* text);
    bool isItem(int32_t index) const; // neither separator nor title
    void storeText(Entry& entry, const char* text, bool subMenu, int32_t number) const;
    bool insertEntry(std::unique_ptr<Entry> entry, int32_t position);
    gui::PopupMenu buildPopupIn(int32_t& nextCommand, std::vector<MenuRange>& ranges,
                                std::vector<const COptionMenu*>& openMenus) const;
    bool inRange(int32_t index) const { return index >= 0 && index < getNbEntries(); }
    CPoint popupOrigin(CDrawContext* context) const;
    void reportPick(CDrawContext* context, int32_t command, const std::vector<MenuRange>& ranges);

    std::vector<std::unique_ptr<Entry>> entries;
    std::vector<COptionMenu*> subMenus;
    std::atomic<int32_t> entryCount{0};
    std::atomic<int32_t> currentIndex{-1};
};

} // namespace quillory
