#pragma once

#include <windows.h>

class CWatchItem;
class CWatchList;
class CWatchListView;

// The commands that change the watch list: add an item, delete the selected
// one, edit the selected one's properties. Each runs its dialogs and
// questions over the main window, changes the list and its rows together,
// and hands the rest (the save, what the guard does next) to its host.
class CWatchListEditor {
public:
    class Host {
    public:
        // The window that owns the dialogs and the questions.
        virtual HWND EditorOwner() const = 0;
        // Whether the administrator lets no item keep the computer awake.
        virtual bool EditorLocksComputerAwake() const = 0;
        // The list was changed and its rows show it; bRemoved: an item went.
        virtual void OnListEdited(bool bRemoved) = 0;

    protected:
        ~Host() = default;
    };

    CWatchListEditor(CWatchList& list, CWatchListView& view, Host& host);
    CWatchListEditor(const CWatchListEditor&) = delete;
    CWatchListEditor& operator=(const CWatchListEditor&) = delete;

    void Add();
    void DeleteSelected();
    void EditSelected();
    // The selected row when it shows an item, else -1.
    int GetSelectedRow() const;

private:
    void Select(int nRow);
    // Tells the user that the row is the policy's: true when it is.
    bool RefusePolicyItem(int nRow) const;

    CWatchList& m_list;
    CWatchListView& m_view;
    Host& m_host;
};
