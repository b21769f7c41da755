#pragma once

#include "print_window.h"

namespace kestrune {

// The diameter choice window: lists the pipe table while the engineer picks a nominal
// diameter. It is visible only while the sizing run's input box waits, and cannot be closed
// by its close box meanwhile: the run hides it.
class frmchoose : public PrintWindow {
    Q_OBJECT
  public:
    explicit frmchoose(QWidget* parent = nullptr);

  protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace kestrune
