#pragma once
// "Ruta de instalación": the destination folder typed in an edit box or picked in the
// drive and folder tree, which puts the product's folder name after the chosen folder.
#include <QDialog>

class CImageButton;
class CShellTree;
class QLineEdit;
class QTreeWidgetItem;

class CFolderDialog : public QDialog {
    Q_OBJECT
public:
    CFolderDialog(const QString& folder, const QString& productName, QWidget* parent = nullptr);

    // The edit box's text as the clerk left it (valid after OK).
    QString Folder() const;
    QLineEdit* Edit() const { return m_edit; }
    CShellTree* Tree() const { return m_tree; }
    CImageButton* OkButton() const { return m_ok; }
    CImageButton* CancelButton() const { return m_cancel; }

    // Opens the tree down to the folder that holds `folder` and selects it; stops at the
    // first part of the path the tree does not show. Returns the deepest item reached.
    QTreeWidgetItem* OpenParentOf(const QString& folder);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnPathSelected(const QString& path);

    QString m_productName;
    QLineEdit* m_edit;
    CShellTree* m_tree;
    CImageButton* m_ok;
    CImageButton* m_cancel;
};
