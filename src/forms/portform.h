#pragma once

#include "formfield.h"

#include <memory>
#include <string>
#include <vector>

class CBoardObj;
class CPortObj;
class CQSERDoc;

// The page shown while a port is selected: its name and index, and its COM name, IRQ and
// address chosen from lists that the board's model and settings decide. A choice is applied to
// the current port, marks the document changed and is written into the port's key at once.
class CPortForm {
public:
    CPortForm();
    ~CPortForm();
    CPortForm(const CPortForm&) = delete;
    CPortForm& operator=(const CPortForm&) = delete;

    // Each value of the port the page shows with its control and member, in the order UpdateData
    // shows them. A new setting is one row here and one in PortFields().
    static const std::vector<SFormField<CPortForm>>& Fields();

    // Takes the page built from dialog 3001 and binds its controls and handlers.
    void Create(std::unique_ptr<IDialog> dialog);
    IDialog* GetDialog() const { return m_pDialog.get(); }

    // Members into controls (the form never reads its controls back).
    void UpdateData();
    // The members from a port, as the view shows it.
    void FillFromPort(const CPortObj& port);
    // Rebuilds the COM, IRQ and address lists for the current board and enables those its model
    // lets a person choose (none while the registry cannot be written).
    void FillPortLists();

    void OnSelchangePortAddress();
    void OnSelchangeCOMPort();
    void OnSelchangeIRQ();

    // Writes one text value into the port's key (CDriverKeyStore::WritePortValue). 1 when
    // written.
    int WritePortStringValue(const CBoardObj* board, const CPortObj* port,
                             const std::string& valueName, const std::string& text);

    IComboBox* m_PortAddressCombo = nullptr;
    IComboBox* m_IRQCombo = nullptr;
    IComboBox* m_COMPortCombo = nullptr;
    std::string m_PortAddress;
    std::string m_COMPort;
    std::string m_IRQ;
    std::string m_PortName;
    std::string m_PortIndex;
    CQSERDoc* m_pDoc = nullptr;

private:
    void ApplyChoice(unsigned valueNameId);

    std::unique_ptr<IDialog> m_pDialog;
    IEdit* m_PortNameEdit = nullptr;
    IEdit* m_PortIndexEdit = nullptr;
};
