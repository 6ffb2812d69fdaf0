// The one table of unit types: each one's factory and what the core asks of it.
#include "forms/units/unit_table.h"

#include "forms/units/button_edit/standard_units.h"
#include "forms/units/controls/control_units.h"
#include "forms/units/html_viewer/html_viewer_unit.h"
#include "forms/units/hyper_linker/hyper_linker.h"
#include "forms/units/label/label_units.h"
#include "forms/units/picture/picture_units.h"
#include "forms/units/shape_box/shape_box.h"
#include "forms/units/timer/timer_unit.h"
#include "forms/units/window/window_unit.h"
#include "forms/units/zip/zip_unit.h"

namespace forms {

const UnitTable& unitTable() {
  static const UnitTable kTable{{
      {UnitKind::Window, makeWindowUnit, kNotCopied},
      {UnitKind::EditBox, makeEditBoxUnit},
      {UnitKind::PicBox, makePicBoxUnit},
      {UnitKind::ShapeBox, makeShapeBoxUnit},
      {UnitKind::Label, makeLabelUnit},
      {UnitKind::Button, makeButtonUnit},
      {UnitKind::HyperLinker, makeHyperLinkerUnit},
      {UnitKind::Timer, makeTimerUnit, kNeverShown},
      {UnitKind::PicBtn, makePicBtnUnit},
      {UnitKind::TransLabel, makeTransLabelUnit},
      {UnitKind::HtmlViewer, makeHtmlViewerUnit, kNotCopied},
      {UnitKind::PageControl, makePageControlUnit, kNotCopied},
      {UnitKind::SuperBar, makeSuperBarUnit},
      {UnitKind::StatusBar, makeStatusBarUnit},
      {UnitKind::Zip, makeZipUnit, kNeverShown},
  }};
  return kTable;
}

}  // namespace forms
