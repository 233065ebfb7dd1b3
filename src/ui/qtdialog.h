#pragma once

#include "controltemplate.h"
#include "headlessdialog.h"
#include "idialog.h"

#include <QPalette>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

class CDeferredCheckBox;
class CDeferredComboBox;
class CDeferredEdit;
class CDialogUnits;
class CListPopupStyle;
class QGroupBox;
class QLabel;

// A form page laid out from its dialog template: every control at its place, converted from
// dialog units with the metrics of the page's font. Today's fonts are wider than the one the
// templates were drawn for, so a label grows to its text's width, up to the next control on its
// row, and sits at the height of that control's text. Each label is the buddy of its control
// and gives it its accessible name; each widget is a child of the group box around it. The page
// starts hidden, and its controls are made when it is first shown or a person's choice needs
// them: a page nobody opens costs nothing but its size. Until then the forms talk to headless
// stand-ins, whose state the controls take over.
class CQtDialog : public QWidget, public IDialog {
public:
    CQtDialog(const SDialogTemplate& dialogTemplate, QWidget* parent);
    ~CQtDialog() override;

    IComboBox* ComboBox(int id) override;
    ICheckBox* CheckBox(int id) override;
    IEdit* Edit(int id) override;
    void ShowWindow(bool visible) override;
    bool IsWindowVisible() const override { return !isHidden(); }
    // A disabled page takes no focus and no input but stays readable.
    void EnableWindow(bool enabled) override;
    bool IsWindowEnabled() const override { return isEnabled(); }

    int TemplateId() const { return m_template.id; }

private:
    struct SLabel {
        QLabel* label;
        QWidget* box; // the box of a check box whose text is on the left; else null
    };

    void Realize();
    void AddControl(const SControlTemplate& spec, const CDialogUnits& units);
    void AddComboBox(const SControlTemplate& spec, const CDialogUnits& units);
    void AddCheckBox(const SControlTemplate& spec, const CDialogUnits& units);
    QLabel* AddLabel(const QString& text, const QRect& rect);
    static int NeededWidth(const QLabel& label);
    void MakeRoomForLabels();
    void FitLabel(const SLabel& entry);
    void AlignCheckBoxes();
    QWidget* NextOnRow(const QWidget* label) const;
    void NameControls();
    static void AddMnemonic(QLabel& label, QString& taken);
    void NestInGroupBoxes();
    void TakePlaceInTabOrder();
    QPalette ReadablePalette() const;

    SDialogTemplate m_template;
    CHeadlessDialog m_standIn;
    bool m_bRealized = false;
    CListPopupStyle* m_pListStyle = nullptr;
    std::vector<QWidget*> m_controls;
    std::vector<SLabel> m_labels;
    std::vector<QGroupBox*> m_groups;
    std::map<int, std::unique_ptr<CDeferredComboBox>> m_combos;
    std::map<int, std::unique_ptr<CDeferredCheckBox>> m_checks;
    std::map<int, std::unique_ptr<CDeferredEdit>> m_edits;
};
