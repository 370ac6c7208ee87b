#pragma once
// The platform-neutral heart of a plug-in editor: the ordered controls, the off-screen draw
// bitmap, the dirty-rectangle bookkeeping, the routing of mouse, wheel and key events to one
// control, the host edit gestures a click or a wheel turn opens and closes, and the binding
// between parameter values and the controls that show them. A platform back end derives from it
// and supplies the view, the redraw timer, the screen copy and every dialog; it feeds events in
// draw-bitmap pixels. All of it runs on the UI thread.

#include <vector>

#include "gui/IBitmap.h"
#include "gui/IChannelBlend.h"
#include "gui/IColor.h"
#include "gui/IMouseMod.h"
#include "gui/IRECT.h"
#include "gui/IText.h"

class AAX_VViewContainer;
class IControl;
class IEditorDelegate;
class IParam;
class IPopupMenu;
class KIT_String;
class PIX_CachedFont;
class PIX_IBitmap;
class PIX_MemBitmap;
class PIX_SysBitmap;

class IEditor {
public:
  static constexpr int kDefaultFPS = 25;

  // fps <= 0 becomes 25. No bitmaps yet: CreateDrawBitmaps makes them.
  IEditor(IEditorDelegate* controller, int width, int height, int fps = 0);
  // Deletes the key catcher, every control from the last to the first, then both bitmaps.
  virtual ~IEditor();
  IEditor(const IEditor&) = delete;
  IEditor& operator=(const IEditor&) = delete;

  // ---- supplied by the platform back end ----
  // Copies the draw bitmap's rect to the screen.
  virtual bool DrawScreen(const IRECT& rect) = 0;
  virtual bool MeasureIText(IText* text, const char* str, IRECT* rect);
  virtual void EndTextEntry() = 0;
  // Stores the new size, releases the capture, deletes every control and makes new bitmaps.
  virtual void Resize(int width, int height);
  virtual bool WindowIsOpen() { return GetWindow() != nullptr; }
  virtual int GetWindowKind() = 0;
  virtual const char* GetGUIName() { return ""; }
  virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
  // The menu whose item was chosen, or null.
  virtual IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* rect) = 0;
  virtual void CreateTextEntry(IControl* control, IText* text, IRECT* rect, const char* str,
                               IParam* param) = 0;
  virtual void HostPath(KIT_String* path) = 0;
  virtual void PluginPath(KIT_String* path) = 0;
  virtual void DesktopPath(KIT_String* path) = 0;
  virtual void PresetsPath(KIT_String* path, bool isSystem) = 0;
  virtual bool RevealPathInFinder(KIT_String* path, bool select) = 0;
  virtual void AppSupportPath(KIT_String* path, bool isSystem) = 0;
  virtual void MusicPath(KIT_String* path) = 0;
  virtual void PromptForFile(KIT_String* fileName, int action, KIT_String* directory,
                             const char* extensions) = 0;
  virtual bool PromptForDirectory(KIT_String* directory) = 0;
  virtual bool PromptForColor(IColor* color, const char* prompt) = 0;
  virtual bool OpenURL(const char* url, const char* windowTitle = nullptr,
                       const char* confirmMsg = nullptr, const char* errMsg = nullptr) = 0;
  virtual void* OpenWindow(void* parentView) = 0;
  virtual void* OpenHIViewWindow(void* /*parent*/) { return nullptr; }
  virtual void CloseWindow() = 0;
  virtual void* GetWindow() = 0;
  virtual bool GetTextFromClipboard(KIT_String* text) = 0;
  virtual void HideMouseCursor(bool /*rememberPosition*/ = true) {}
  virtual void ShowMouseCursor() {}
  virtual void UpdateTooltips() = 0;
  // The decoded resource, or null; the caller takes it into the bitmap cache.
  virtual PIX_IBitmap* LoadPlatformBitmap(int id, const char* name) = 0;

  // ---- bitmaps, drawn through the raster library onto the draw bitmap ----
  void CreateDrawBitmaps();
  // The cached bitmap of a resource id, decoded once per process; a bitmap with no pixels
  // (null data, zero size) when the resource cannot be loaded. nFrames below 1 counts as 1.
  IBitmap LoadIBitmap(int id, const char* name, int nFrames = 1, bool framesAreHorizontal = false);
  void RetainBitmap(IBitmap* bitmap);
  void ReleaseBitmap(IBitmap* bitmap);
  IBitmap ScaleBitmap(IBitmap* bitmap, int destW, int destH);
  IBitmap CropBitmap(IBitmap* bitmap, IRECT* rect);
  // Frame numbers count from 1; frames outside 1..N draw the nearest end frame.
  bool DrawBitmap(IBitmap* bitmap, IRECT* rect, int frame = 1,
                  const IChannelBlend* blend = nullptr);
  // Blits the bitmap from (srcX, srcY) into rect, clipped to the rectangle being redrawn.
  bool BlitBitmap(IBitmap* bitmap, IRECT* rect, int srcX, int srcY,
                  const IChannelBlend* blend = nullptr);
  // Text in rect, or with measure its rectangle written back into rect.
  bool DrawIText(IText* text, const char* str, IRECT* rect, bool measure = false);
  // The style's raster font, created and cached on first use; null when none can be made.
  PIX_CachedFont* CacheFont(IText* text);

  // ---- fills and pixels ----
  bool FillIRect(const IColor* color, IRECT* rect, const IChannelBlend* blend = nullptr);
  bool DrawPoint(const IColor* color, int x, int y, const IChannelBlend* blend = nullptr,
                 bool antiAlias = false);
  // Writes the pixel word without combining; nothing outside the draw bitmap.
  bool ForcePixel(const IColor* color, int x, int y);
  IColor GetPoint(int x, int y);
  PIX_Pixel* GetBits();

  // ---- shapes and rotated bitmaps; angles in radians clockwise from straight up ----
  bool FillCircle(const IColor* color, float cx, float cy, float r,
                  const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawRotatedBitmap(IBitmap* bitmap, int destCtrX, int destCtrY, double angle,
                         const IChannelBlend* blend = nullptr);
  bool DrawRotatedMask(IBitmap* base, IBitmap* mask, IBitmap* top, int x, int y, double angle,
                       const IChannelBlend* blend = nullptr);
  bool DrawLine(const IColor* color, float x1, float y1, float x2, float y2,
                const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawArc(const IColor* color, float cx, float cy, float r, float minAngle, float maxAngle,
               const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawCircle(const IColor* color, float cx, float cy, float r,
                  const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawRoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend, int cornerRadius,
                     bool antiAlias);
  bool FillRoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend, int cornerRadius,
                     bool antiAlias);
  bool FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                    const IChannelBlend* blend = nullptr);
  bool FillConvexPolygon(const IColor* color, const int* x, const int* y, int npoints,
                         const IChannelBlend* blend = nullptr);
  bool DrawVerticalLine(const IColor* color, int xi, int yLo, int yHi);
  bool DrawHorizontalLine(const IColor* color, int yi, int xLo, int xHi);
  bool DrawIRect(const IColor* color, IRECT* rect, const IChannelBlend* blend = nullptr);
  // A line across the rect at fraction 0-1 of its width (from the left) or height (from the
  // bottom).
  bool DrawVerticalLineInRect(const IColor* color, IRECT* rect, float fraction);
  bool DrawHorizontalLineInRect(const IColor* color, IRECT* rect, float fraction);
  bool DrawRadialLine(const IColor* color, float cx, float cy, float angle, float rMin, float rMax,
                      const IChannelBlend* blend = nullptr, bool antiAlias = false);
  // A fixed-width bitmap font: the frame of character code c is c - 31.
  bool DrawBitmapFontText(IBitmap* bitmap, IRECT* rect, IText* text, const IChannelBlend* blend,
                          const char* str, bool vCenter = true, bool multiline = false,
                          int charWidth = 6, int charHeight = 12, int charOffset = 0);

  // ---- controls ----
  // Appends and takes ownership; the new index, or -1 for no control. A control bound to a
  // parameter that has no default yet takes the parameter's default as its own.
  int AttachControl(IControl* control);
  // The resource's bitmap as an opaque background at index 0 (one pixel above the top edge).
  void AttachBackground(int id, const char* name);
  void AttachPanelBackground(const IColor* color);
  IControl* GetControl(int idx) const;
  int NControls() const { return (int)mControls.size(); }

  // ---- values from the plug-in side: no echo to the controller ----
  void SetParameterFromPlug(int paramIdx, double value, bool normalized);
  // Values as if the user set them: pushed to the controller.
  void PushParameterValue(int paramIdx, double normalized);
  void SetAllControlsDirty();
  void HideControl(int paramIdx, bool hide);
  void GrayOutControl(int paramIdx, bool gray);
  void ClampControl(int paramIdx, double lo, double hi, bool normalized);
  void SetControlHighlight(int paramIdx, bool on, int colorIdx);
  // Takes ownership: the key catcher lives outside the control list.
  void SetKeyCatcher(IControl* control);
  void SetStrictDrawing(bool strict);
  void CallControlHooks();

  // ---- prompts ----
  void PromptUserInput(IControl* control, IParam* param, IRECT* rect);
  void SetFromStringAfterPrompt(IControl* control, IParam* param, const char* str);

  // ---- redraw ----
  // Unites the rectangles of the dirty controls into rect (given empty); true when any is
  // dirty. Also closes a wheel gesture one second (fps ticks) after its last step.
  bool IsDirty(IRECT* rect);
  // Draws the controls that meet rect, sets all clean, copies rect to the screen.
  bool Draw(IRECT* rect);

  // ---- events, in draw-bitmap pixels ----
  void OnMouseDown(int x, int y, const IMouseMod& mod);
  void OnMouseUp(int x, int y, const IMouseMod& mod);
  void OnMouseDrag(int x, int y, const IMouseMod& mod);
  // True when the control took the double click as a press.
  bool OnMouseDblClick(int x, int y, const IMouseMod& mod);
  bool OnMouseOver(int x, int y, const IMouseMod& mod);
  void OnMouseOut();
  void OnMouseWheel(int x, int y, const IMouseMod& mod, int delta);
  // True when the key was handled; the back end passes unhandled keys on.
  bool OnKeyDown(int x, int y, int key);

  void ReleaseMouseCapture();
  // Ends every edit gesture still open (a press whose release never came, a wheel turn inside
  // its second) and releases the capture: the view is closing or the editor going, and a host
  // in touch or latch automation would otherwise keep the parameters held.
  void EndOpenGestures();
  // The captured control, else the topmost eligible control at (x, y), or -1.
  int GetMouseControlIdx(int x, int y, bool mouseOver = false);
  void NoteParamUnderMouse(int x, int y);
  int TakeParamUnderMouse();

  // ---- state ----
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }
  double GetDrawScale() const { return mScale; }
  void SetDrawScale(double scale) { mScale = scale; }
  IEditorDelegate* GetController() const { return mController; }
  PIX_SysBitmap* GetDrawBitmap() const { return mDrawBitmap; }
  const IRECT& GetDrawRECT() const { return mDrawRECT; }
  int GetMouseCapture() const { return mMouseCapture; }
  int GetMouseOver() const { return mMouseOver; }
  int GetMouseX() const { return mMouseX; }
  int GetMouseY() const { return mMouseY; }
  bool CanHandleMouseOver() const { return mHandleMouseOver; }
  void HandleMouseOver(bool canHandle) { mHandleMouseOver = canHandle; }
  bool TooltipsEnabled() const { return mEnableTooltips; }
  void EnableTooltips(bool enable) { mEnableTooltips = enable; }
  // The open wheel gesture's parameter, or -1.
  int GetWheelGestureParam() const { return mWheelParam; }
  // The parameter of the gesture the mouse button holds open, or -1.
  int GetMouseGestureParam() const { return mMouseGestureParam; }

  // ---- the host's view container, offered every parameter click (AAX hosts only) ----
  // Not owned; null while the editor is not open in an AAX host's container.
  void SetViewContainer(AAX_VViewContainer* container) { mViewContainer = container; }
  AAX_VViewContainer* GetViewContainer() const { return mViewContainer; }

protected:
  // The topmost control at (x, y) that takes the mouse, or -1.
  int FindControlAt(int x, int y, bool mouseOver) const;
  // A control that takes part in edit gestures: bound to a parameter that exists.
  bool IsBoundToParam(IControl* control) const;
  void BeginGesture(int paramIdx);
  void EndGesture(int paramIdx);
  void CloseWheelGesture();
  // Closes the gestures still open and opens the press's own on its parameter.
  void OpenMouseGesture(int paramIdx);
  void CloseMouseGesture();
  // A user edit of control's parameter that no press or wheel turn brackets (a prompt's
  // answer) gets a gesture of its own.
  void SetValueAsEdit(IControl* control, double normalized);
  // Offers a click on a parameter's control to the host's container, adding the host's
  // modifier bits to mod; true when the host took it. Never in a build for VST hosts, whose
  // definition says no (see EditorHostRules.h).
  bool HostTakesParameterClick(int paramIdx, IMouseMod& mod);
  void DeleteControls();
  void DeleteBitmaps();
  void DrawStrict(const IRECT& rect);
  void DrawNonStrict();
  // The shape primitives' common entry: false when there is nowhere to draw.
  PIX_IBitmap* ShapeTarget() const;

  std::vector<IControl*> mControls; // owned; 0 is the background, later ones draw later
  IRECT mDrawRECT;
  bool mCursorHidden = false;
  double mScale = 1.0;
  int mHiddenMousePointX = -1, mHiddenMousePointY = -1;
  PIX_SysBitmap* mDrawBitmap = nullptr;
  PIX_MemBitmap* mTmpBitmap = nullptr;
  int mWidth, mHeight, mFPS;
  int mMouseCapture = -1;
  int mMouseOver = -1;
  int mMouseX = 0, mMouseY = 0;
  int mLastParamUnderMouse = -1;
  bool mHandleMouseOver = false, mStrict = true, mEnableTooltips = false;
  IControl* mKeyCatcher = nullptr; // owned
  IEditorDelegate* mController;
  int mWheelFrames = 0, mWheelParam = -1;
  // The parameter whose edit gesture a press opened, -1 for none: the release closes exactly
  // that one, whatever lies under the pointer by then.
  int mMouseGestureParam = -1;
  AAX_VViewContainer* mViewContainer = nullptr; // not owned; set only in AAX hosts
};
