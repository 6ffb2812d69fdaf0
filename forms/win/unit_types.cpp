// The one table from unit type to its factory.
#include "forms/win/core.h"
#include "forms/win/own_units.h"
#include "forms/win/window_unit.h"

namespace forms {

UnitFactory factoryOf(UnitKind kind) {
  struct Entry {
    UnitKind kind;
    UnitFactory factory;
  };
  static const Entry kTable[] = {
      {UnitKind::Window, makeWindowUnit},         {UnitKind::EditBox, makeEditBoxUnit},
      {UnitKind::PicBox, makePicBoxUnit},         {UnitKind::ShapeBox, makeShapeBoxUnit},
      {UnitKind::Label, makeLabelUnit},           {UnitKind::Button, makeButtonUnit},
      {UnitKind::HyperLinker, makeHyperLinkerUnit}, {UnitKind::Timer, makeTimerUnit},
      {UnitKind::PicBtn, makePicBtnUnit},         {UnitKind::TransLabel, makeTransLabelUnit},
      {UnitKind::HtmlViewer, makeHtmlViewerUnit}, {UnitKind::PageControl, makePageControlUnit},
      {UnitKind::SuperBar, makeSuperBarUnit},     {UnitKind::StatusBar, makeStatusBarUnit},
      {UnitKind::Zip, makeZipUnit},
  };
  for (const Entry& e : kTable)
    if (e.kind == kind) return e.factory;
  return nullptr;
}

}  // namespace forms
