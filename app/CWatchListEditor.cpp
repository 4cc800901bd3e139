#include "CWatchListEditor.h"

#include "AddWatchOverlap.h"
#include "AfxText.h"
#include "CAddWatchDlg.h"
#include "CWatchList.h"
#include "CWatchListView.h"
#include "CWatchPropDlg.h"
#include "CWinApp.h"
#include "resource.h"

CWatchListEditor::CWatchListEditor(CWatchList& list, CWatchListView& view, Host& host)
    : m_list(list), m_view(view), m_host(host) {}

int CWatchListEditor::GetSelectedRow() const {
    const int nRow = m_view.GetNextItem(-1, LVNI_SELECTED);
    return nRow >= 0 && nRow < m_list.GetCount() ? nRow : -1;
}

void CWatchListEditor::Select(int nRow) {
    m_view.SetItemState(nRow, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    m_view.SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nRow), FALSE);
}

void CWatchListEditor::Add() {
    CAddWatchDlg addDlg;
    if (addDlg.DoModal() != IDOK) {
        return;
    }
    int nExisting = -1;
    switch (AskAboutOverlap(m_host.EditorOwner(), m_list, addDlg.m_strFileName, &nExisting)) {
    case OverlapChoice::kCancel:
        return;
    case OverlapChoice::kOpenExisting:
        Select(nExisting);
        EditSelected();
        return;
    case OverlapChoice::kAddNew:
        break;
    }
    CWatchPropDlg propDlg;
    propDlg.m_bComputerAwakeLocked = m_host.EditorLocksComputerAwake();
    propDlg.m_item.m_strFileName = addDlg.m_strFileName;
    if (propDlg.DoModal() != IDOK) {
        return;
    }
    m_list.Add(propDlg.m_item);
    // After the user's own items, before the policy's.
    const int nRow = m_list.GetOwnCount() - 1;
    m_view.InsertRow(nRow, propDlg.m_item);
    Select(nRow);
    m_view.SetFocus();
    m_host.OnListEdited(false);
}

bool CWatchListEditor::RefusePolicyItem(int nRow) const {
    if (!m_list.IsPolicyItem(nRow)) {
        return false;
    }
    CString strText;
    strText.LoadString(IDS_POLICY_ITEM_LOCKED);
    MessageBoxA(m_host.EditorOwner(), strText, AfxGetAppName(), MB_OK | MB_ICONINFORMATION);
    return true;
}

void CWatchListEditor::DeleteSelected() {
    const int nSelected = GetSelectedRow();
    if (nSelected < 0 || RefusePolicyItem(nSelected)) {
        return;
    }
    const CWatchItem* pItem = m_list.GetAt(nSelected);
    CString strText, strCaption;
    AfxFormatString1(strText, IDS_DELETE_QUESTION, pItem->m_strTitle);
    strCaption.LoadString(IDS_DELETE_CAPTION);
    if (MessageBoxA(m_host.EditorOwner(), strText, strCaption,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    // Rows may have moved while the question was open.
    const int nRow = m_list.IndexOf(pItem);
    if (nRow < 0 || m_list.IsPolicyItem(nRow)) {
        return;
    }
    m_list.RemoveAt(nRow);
    m_view.DeleteItem(nRow);
    m_view.SetFocus();
    m_host.OnListEdited(true);
}

void CWatchListEditor::EditSelected() {
    const int nSelected = GetSelectedRow();
    if (nSelected < 0 || RefusePolicyItem(nSelected)) {
        return;
    }
    const CWatchItem* pEdited = m_list.GetAt(nSelected);
    CWatchPropDlg propDlg;
    propDlg.m_bComputerAwakeLocked = m_host.EditorLocksComputerAwake();
    m_list.CopyItem(nSelected, propDlg.m_item);
    if (propDlg.DoModal() != IDOK) {
        return;
    }
    // The item is found again by what it is, not by the row it had: the
    // list may have changed while the dialog was open, and an item deleted
    // meanwhile is not written back over another.
    const int nRow = m_list.IndexOf(pEdited);
    if (nRow < 0 || m_list.IsPolicyItem(nRow)) {
        return;
    }
    CWatchItem* pItem = m_list.GetAt(nRow);
    pItem->CopyFrom(propDlg.m_item);
    m_view.ShowItem(nRow, *pItem, true);
    m_host.OnListEdited(false);
}
