// PicBox and PicBtn: pictures in their display modes; animated GIFs advance on a
// drawing thread of their own.
#include <atomic>
#include <thread>

#include "forms/units/picture/picture_units.h"
#include "forms/unit_base/painted_unit.h"

namespace forms {

namespace {

// Steps the frames of an animated picture with their delays and loop count, and asks
// the window to repaint; the painting itself stays on the window thread, and so does
// finding the see-through units in front of the picture that show the new frame.
class Animation {
 public:
  Animation(HWND target, const Picture& picture)
      : target_(target), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    for (const PictureFrame& f : picture.frames) delays_.push_back(f.delayMs > 0 ? f.delayMs : 100);
    loops_ = picture.loopCount;
    thread_ = std::thread([this] { run(); });
  }
  ~Animation() {
    SetEvent(stop_.get());
    thread_.join();
  }
  Animation(const Animation&) = delete;
  Animation& operator=(const Animation&) = delete;
  int frame() const { return frame_.load(); }

 private:
  void run() {
    for (int played = 0; loops_ == 0 || played < loops_; ++played) {
      for (std::size_t i = 0; i < delays_.size(); ++i) {
        // The last frame of the last loop stays.
        if (loops_ != 0 && played == loops_ - 1 && i + 1 == delays_.size()) return;
        if (WaitForSingleObject(stop_.get(), static_cast<DWORD>(delays_[i])) != WAIT_TIMEOUT)
          return;
        frame_ = static_cast<int>((i + 1) % delays_.size());
        PostMessageW(target_, kRedrawUnitMessage, 0, 0);
      }
    }
  }

  HWND target_;
  base::KernelHandle stop_;
  std::vector<int> delays_;
  int loops_ = 0;
  std::atomic<int> frame_{0};
  std::thread thread_;
};

class PicBoxUnit : public PaintedUnit {
 public:
  PicBoxUnit(PropertyBag bag, const UnitPlan& plan, UnitSite& site)
      : PaintedUnit(std::move(bag), site) {
    if (!create(plan, L"TvPicBox", number(pic_box::kBorder))) return;
    loadPicture();
  }
  ~PicBoxUnit() override { animation_.reset(); }
  bool dragsWindow() const override { return true; }

 protected:
  void applied(int index) override {
    if (index == pic_box::kPicture || index == pic_box::kAnimate) loadPicture();
    repaint();
  }

  void paint(HDC dc, const RECT& client) override {
    fillRect(dc, client, colourOr(number(pic_box::kBgColour), GetSysColor(COLOR_BTNFACE)));
    picture_->draw(dc, client, number(pic_box::kDisplayMode), animation_ ? animation_->frame() : 0);
  }

 private:
  void loadPicture() {
    animation_.reset();
    picture_ = std::make_unique<PaintedPicture>(bytes(pic_box::kPicture));
    if (picture_->valid() && picture_->frameCount() > 1 && number(pic_box::kAnimate) == 1)
      animation_ = std::make_unique<Animation>(hwnd_, *picture_->picture());
  }

  std::unique_ptr<PaintedPicture> picture_ = std::make_unique<PaintedPicture>();
  std::unique_ptr<Animation> animation_;
};

// What a click does with the pressed state, as the system's push, push-like check box
// and push-like radio button do, by the button's kind:
//   0 (and any value not below) a push button: a click changes nothing; the pressed
//     picture shows while the button is held down, or while `pressed` is 1;
//   1 a toggle: each click turns `pressed` over between 0 and 1;
//   2 one of a group: a click sets `pressed` to 1 and to 0 on every other kind-2 picture
//     button of the same parent.
// Every kind shows the pressed picture while `pressed` is 1, and a click raises the
// clicked event after the state has changed, so the handler reads the new one.
enum PicBtnKind : int { kPush = 0, kToggle = 1, kGroup = 2 };

class PicBtnUnit : public PaintedUnit {
 public:
  PicBtnUnit(PropertyBag bag, const UnitPlan& plan, UnitSite& site)
      : PaintedUnit(std::move(bag), site) {
    if (!create(plan, L"TvPicBtn", 0)) return;
    loadPictures();
  }
  bool seeThrough() const override { return true; }

 protected:
  void applied(int index) override {
    if (index >= pic_btn::kNormalPicture) loadPictures();
    repaint();
  }

  void paint(HDC dc, const RECT& client) override {
    paintWhatLiesBehind(hwnd_, dc);
    const PaintedPicture* p = pictures_[0].get();
    if (!IsWindowEnabled(hwnd_) && pictures_[3]->valid())
      p = pictures_[3].get();
    else if ((down_ || number(pic_btn::kPressed) == 1) && pictures_[1]->valid())
      p = pictures_[1].get();
    else if (GetFocus() == hwnd_ && pictures_[2]->valid())
      p = pictures_[2].get();
    p->draw(dc, client, 0);
  }

  std::optional<LRESULT> handle(UINT message, WPARAM, LPARAM lp) override {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        down_ = true;
        SetCapture(hwnd_);
        repaint();
        return 0;
      case WM_LBUTTONUP: {
        if (!down_) return 0;
        down_ = false;
        ReleaseCapture();
        RECT r;
        GetClientRect(hwnd_, &r);
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        const bool clicked = PtInRect(&r, pt) != FALSE;
        if (clicked) changeStateOnClick();
        repaint();
        if (clicked) site_.raise(pic_btn::kClicked);
        return 0;
      }
      case WM_CAPTURECHANGED:
        down_ = false;
        repaint();
        return 0;
      default: return std::nullopt;
    }
  }

 private:
  void changeStateOnClick() {
    using namespace pic_btn;
    switch (number(kKind)) {
      case kToggle: bag_[kPressed] = number(kPressed) == 1 ? 0 : 1; break;
      case kGroup:
        bag_[kPressed] = 1;
        for (HWND s = GetWindow(GetParent(hwnd_), GW_CHILD); s; s = GetWindow(s, GW_HWNDNEXT)) {
          auto* other = s == hwnd_ ? nullptr : dynamic_cast<PicBtnUnit*>(unitControlOfWindow(s));
          if (other && other->hwnd_ == s && other->number(kKind) == kGroup &&
              other->number(kPressed) != 0) {
            other->bag_[kPressed] = 0;
            other->repaint();
          }
        }
        break;
      default: break;
    }
  }

  void loadPictures() {
    for (int i = 0; i < 4; ++i)
      pictures_[i] = std::make_unique<PaintedPicture>(bytes(pic_btn::kNormalPicture + i));
    const std::int32_t transparent = number(pic_btn::kTransparentColour);
    if (colourSet(transparent) && pictures_[0]->valid()) {
      SetWindowRgn(hwnd_,
                   regionOfPicture(*pictures_[0]->picture(), 0, static_cast<COLORREF>(transparent)),
                   TRUE);
    }
  }

  std::unique_ptr<PaintedPicture> pictures_[4];  // normal, pressed, focused, disabled
  bool down_ = false;
};

}  // namespace

std::unique_ptr<UnitControl> makePicBoxUnit(const UnitPlan& plan, UnitSite& site) {
  return makeBagUnit<PicBoxUnit>(plan, site);
}
std::unique_ptr<UnitControl> makePicBtnUnit(const UnitPlan& plan, UnitSite& site) {
  return makeBagUnit<PicBtnUnit>(plan, site);
}

}  // namespace forms
