#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/base/color.h"
#include "core/base/render_control.h"
#include "core/document/draw_runner.h"
#include "core/maps/module1.h"
#include "core/maps/panel_state.h"

namespace quill {

class CanvasWindow;
class Dialogs;
class Printer;

// One pattern's maps as its preset file gave them: row r holds the texts for panel row r + 1.
struct PresetRows {
  std::vector<std::array<QString, kColumnCount>> rows;
};

// The control panel's behaviour without its widgets: the event handlers of Form2 working on the
// panel state and the shared drawing state. Form2 (the Qt panel) forwards every click here; the
// headless renderer and the tests call the handlers directly.
class Panel {
 public:
  Panel(PanelState& state, Module1& module1, CanvasWindow& form1, Dialogs& dialogs,
        Printer& printer);

  // Where the preset files are read from; the program's own directory in production.
  void setPresetDirectory(const QString& directory) { presetDirectory_ = directory; }

  // The panel's load event: caption, seventy empty map fields, working values 0, no pattern read.
  void Form_Load();

  // Reads the map grid into the map table. False when a message was shown; the table must not
  // be used then.
  [[nodiscard]] bool ReadPanel();

  void cmdCompute_Click();
  void cmdBluePrint_Click();
  void cmdFractal_Click();
  void cmdChaos_Click();
  void cmdLoad_Click();
  void cmdSaveParam_Click();
  void mnuPattern_Click(int index);
  void mnuResetPattern_Click(int index) { mnuPattern_Click(index); }
  void cmdPrint_Click();
  void mnuForeColor_Click();
  void mnuBackColor_Click();

  // Cancel flag and progress of drawings run at once (the default); see RenderControl.
  void setRenderControl(RenderControl control) { immediate_.control = std::move(control); }
  // Where the drawing commands run their drawing; at once on the calling thread by default.
  void setDrawRunner(DrawRunner& runner) { runner_ = &runner; }

  PanelState& state() { return state_; }
  Module1& module1() { return module1_; }
  ChaosRandom& random() { return random_; }

 private:
  PanelState& state_;
  Module1& module1_;
  CanvasWindow& form1_;
  Dialogs& dialogs_;
  Printer& printer_;
  ImmediateRunner immediate_;
  DrawRunner* runner_ = &immediate_;

  ChaosRandom random_;
  QString presetDirectory_;
  std::array<PresetRows, kPatternCount> presetCache_;
  Rgb dialogColor_ = kBlack;  // the colour dialog's last colour, shared by both colour commands
};

}  // namespace quill
