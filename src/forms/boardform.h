#pragma once

#include "formfield.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CBoardObj;
class CBoardType;
class CPortForm;
class CQSERDoc;
enum class EBoardChange;

// The page shown while a board is selected. Every choice is applied at once: the current board
// (and, where the change carries over, its ports) changes, the value is written into the
// board's key (and each port's key), the document is marked changed, and the board's model
// decides which controls are enabled and what they offer. While the registry cannot be written
// no list or check box is enabled.
class CBoardForm {
public:
    CBoardForm();
    ~CBoardForm();
    CBoardForm(const CBoardForm&) = delete;
    CBoardForm& operator=(const CBoardForm&) = delete;

    // Each value of the board with its control and member, in the order UpdateData exchanges
    // them. A new setting is one row here and one in BoardFields().
    static const std::vector<SFormField<CBoardForm>>& Fields();

    // Takes the page built from dialog 3000 and binds its controls and handlers.
    void Create(std::unique_ptr<IDialog> dialog);
    IDialog* GetDialog() const { return m_pDialog.get(); }
    // The port form whose WritePortStringValue writes the values carried over to the ports.
    void SetPortForm(CPortForm* portForm) { m_pPortForm = portForm; }

    // true: controls into members; false: members into controls.
    void UpdateData(bool saveAndValidate);
    // The members from a board, as the view shows it.
    void FillFromBoard(const CBoardObj& board);
    void ApplyBoardTypeRules();

    int WriteBoardStringValue(const CBoardObj* board, const std::string& valueName,
                              const std::string& value);
    int WriteBoardDWordValue(const CBoardObj* board, const std::string& valueName,
                             std::uint32_t value);

    void OnShareIRQEnable();
    void OnSelchangeBoardType();
    void OnSelchangeBaseAddress();
    void OnSelchangeBaseCOMPort();
    void OnSelchangeShareIRQ();
    void OnSelchangeVectorAddress();
    void OnStandardModeEnable();

    ICheckBox* m_StandardModeCheck = nullptr;
    IComboBox* m_BoardTypeCombo = nullptr;
    IComboBox* m_BaseCOMPortCombo = nullptr;
    IComboBox* m_BaseAddressCombo = nullptr;
    IComboBox* m_VectorAddressCombo = nullptr;
    IComboBox* m_ShareIRQCombo = nullptr;
    ICheckBox* m_ShareIRQEnableCheck = nullptr;
    std::string m_BaseAddress;
    std::string m_BaseCOMPort;
    std::string m_BoardName;
    std::string m_ShareIRQ;
    int m_ShareIRQEnable = 0;
    std::string m_BoardType;
    std::string m_VectorAddress;
    int m_StandardModeEnable = 0;
    CQSERDoc* m_pDoc = nullptr;

private:
    CBoardObj* Board() const;
    void BindHandlers();
    void SetChanged() const;
    void WriteText(unsigned valueNameId, const std::string& value);
    void WriteFlag(unsigned valueNameId, int value);
    void CarryOver(CBoardObj& board, EBoardChange change);
    std::string SelectedText(const IComboBox* combo) const;
    void EnableBaseControls(bool enabled);
    void EnableSharedControls(bool enabled);
    void ClearSharing(CBoardObj& board);
    void TakeSharedValues(CBoardObj& board);
    void ClearBase(CBoardObj& board);
    void ApplyAddressing(CBoardObj& board, const CBoardType& type);
    void ApplySharingMode(CBoardObj& board, const CBoardType& type);

    std::unique_ptr<IDialog> m_pDialog;
    IEdit* m_BoardNameEdit = nullptr;
    CPortForm* m_pPortForm = nullptr;
};
