#pragma once

#include "support/TestFiles.h"
#include "ui/MainWindow/TPKSarvonexFrm.h"
#include "ui/support/ModalDriver.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A fresh main window over a temporary folder, with a driver for the modal
// windows it opens.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        window = std::make_unique<TPKSarvonexFrm>();
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Queues a modal window of type T and what to do with it.
    template <class T>
    void expect(std::function<void(T &)> action)
    {
        driver.then([action](QWidget *w) {
            T *typed = dynamic_cast<T *>(w);
            if (!typed) {
                ADD_FAILURE() << "unexpected window " << qPrintable(w->metaObject()->className());
                w->close();
                return;
            }
            action(*typed);
        });
    }

    // Queues a file dialog that chooses `file` (or is cancelled for an empty name).
    void chooseFile(const QString &file)
    {
        expect<QFileDialog>([file](QFileDialog &dialog) {
            if (file.isEmpty()) {
                dialog.reject();
                return;
            }
            // Typed as a user would: selectFile alone does not replace a
            // name the dialog proposed.
            dialog.selectFile(file);
            if (auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(file);
            static_cast<QDialog &>(dialog).accept(); // runs QFileDialog::accept
        });
    }

    ModalDriver driver;
    std::unique_ptr<TPKSarvonexFrm> window;

private:
    QTemporaryDir m_dir;
};
