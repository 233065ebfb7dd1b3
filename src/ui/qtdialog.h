#pragma once

#include "idialog.h"

#include <QPalette>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

class CDialogUnits;
class CListPopupStyle;
class CQtCheckBox;
class CQtComboBox;
class CQtEdit;
class QCheckBox;
class QGroupBox;
class QLabel;
struct SControlTemplate;
struct SDialogTemplate;

// A form page laid out from its dialog template: every control at its place, converted from
// dialog units with the metrics of the page's font. Today's fonts are wider than the one the
// templates were drawn for, so a label grows to its text's width, up to the next control on its
// row, and sits at the height of that control's text. Each label is the buddy of its control
// and gives it its accessible name; each widget is a child of the group box around it. The page
// starts hidden.
class CQtDialog : public QWidget, public IDialog {
public:
    CQtDialog(const SDialogTemplate& dialogTemplate, QWidget* parent);
    ~CQtDialog() override;

    IComboBox* ComboBox(int id) override;
    ICheckBox* CheckBox(int id) override;
    IEdit* Edit(int id) override;
    void ShowWindow(bool visible) override { setVisible(visible); }
    bool IsWindowVisible() const override { return !isHidden(); }
    // A disabled page takes no focus and no input but stays readable.
    void EnableWindow(bool enabled) override;
    bool IsWindowEnabled() const override { return isEnabled(); }

    int TemplateId() const { return m_templateId; }

private:
    struct SLabel {
        QLabel* label;
        QWidget* box; // the box of a check box whose text is on the left; else null
    };

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
    QPalette ReadablePalette() const;

    int m_templateId;
    CListPopupStyle* m_pListStyle;
    std::vector<QWidget*> m_controls;
    std::vector<SLabel> m_labels;
    std::vector<QGroupBox*> m_groups;
    std::map<int, std::unique_ptr<CQtComboBox>> m_combos;
    std::map<int, std::unique_ptr<CQtCheckBox>> m_checks;
    std::map<int, std::unique_ptr<CQtEdit>> m_edits;
};
