// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window. The road of one sizing through the code:
//   Text1 changes      -> load_changed(): enter_load() reads q_user, forms q_design and
//                         g_design = q_gexchange(q_design); Text2 and Text3 show them.
//   cmdok is clicked   -> run_sizing(): frmchoose lists the pipe table (print_statements),
//                         each row with the v and r that preview_table() gets from
//                         size_pipe() on a copy of the state; ask_text() asks for dn,
//                         find_inner_diameter() gives d, size_pipe() stores dn, d, then
//                         v, ycxs and r in that order,
//                         append_results_row() adds the row to "outdata.txt", and
//                         frmdisplay shows results_header() and result_values().
// Every number goes through core/ and every line through data/; this window only wires
// the controls to them and tells the engineer what went wrong.

#include <QWidget>
#include <cstdint>
#include <optional>

#include "arith_error.h"
#include "design_state.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrune {

class frmchoose;
class frmdisplay;

class frmcompute : public QWidget {
    Q_OBJECT
  public:
    explicit frmcompute(QWidget* parent = nullptr);

    // The start-up sequence: defaults, pipe table, results log header, hidden results
    // window. Returns false when the table cannot be read: the engineer has been told, no
    // results log has been touched, and the program must end.
    bool start();

    // Opens the window centred on its screen.
    void show_centred();

    const design_state& state() const { return state_; }
    frmchoose* choose_window() const { return choose_; }
    frmdisplay* display_window() const { return display_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void build_controls();
    void load_changed();
    void margin_changed();
    void run_sizing();
    void end_program();
    void show_problem_line();

    // Parameter dialogs: an answer is read, checked and stored, or refused with a message.
    void ask_positive(const QString& prompt, const QString& title, const QString& offered,
                      const QString& quantity, float& field);
    void ask_temperature(const QString& prompt, const QString& title, const QString& offered,
                         const QString& quantity, std::int16_t current,
                         std::optional<ArithError> (design_state::*set)(std::int16_t));

    design_state state_;
    frmchoose* choose_ = nullptr;
    frmdisplay* display_ = nullptr;
    QString load_problem_;    // the load entry's fault, empty when the flow is good
    QString margin_problem_;  // a margin factor that could not be taken

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QPushButton* cmdok;
    QPushButton* Cmdexit;
    QGroupBox* Frame1;
    QPushButton* cmdset1;
    QPushButton* cmdset2;
    QPushButton* cmdset3;
    QPushButton* cmdset4;
    QLabel* problem_line;
};

}  // namespace kestrune
