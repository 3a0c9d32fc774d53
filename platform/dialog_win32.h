// The thin stand-in for the dialog framework: dialogs made from templates in
// this module's resources, modal or modeless, whose window messages reach
// virtual handlers, plus the value exchange between controls and members and
// owner-drawn buttons.
//
// Threading: a dialog lives on the thread that created its window; all its
// handlers run there. Exceptions never leave a handler: the dialog procedure
// catches them and treats the message as handled with its default answer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The instance handle of the module this code is linked into (the DLL, not the
// host program): the dialog templates and the icon are its resources.
HINSTANCE ModuleInstance();
// Called by DllMain with the DLL's own handle.
void SetModuleInstance(HINSTANCE instance);

class CDialog;

// An owner-drawn push button. The owner dialog hands WM_DRAWITEM for the
// button's control id to DrawItem; subclasses paint there.
class CButton {
 public:
  CButton() = default;
  virtual ~CButton() = default;
  CButton(const CButton&) = delete;
  CButton& operator=(const CButton&) = delete;

  virtual void DrawItem(const DRAWITEMSTRUCT& item);

  HWND GetSafeHwnd() const { return hwnd_; }
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  HWND Detach();

 private:
  HWND hwnd_ = nullptr;
};

// One direction of a value exchange: controls to members when saving (OK),
// members to controls when loading (the dialog opens).
class CDataExchange {
 public:
  CDataExchange(CDialog& dialog, bool save) : dialog_(dialog), save_(save) {}
  CDialog& dialog() const { return dialog_; }
  bool m_bSaveAndValidate() const { return save_; }

 private:
  CDialog& dialog_;
  bool save_;
};

// Edit field text.
void DDX_Text(CDataExchange& dx, int controlId, std::string& value);
// Check box state, 0 or 1 (2 for an indeterminate three-state box).
void DDX_Check(CDataExchange& dx, int controlId, int& value);
// Editable drop-down list: loading selects `itemIndex` when it is 0 or more,
// else puts `value` into the text part; saving takes the text part.
void DDX_CBText(CDataExchange& dx, int controlId, int itemIndex, std::string& value);
// Binds `control` to the dialog's control `controlId` (no value exchanged).
void DDX_Control(CDataExchange& dx, int controlId, CButton& control);

class CDialog {
 public:
  explicit CDialog(int templateId, HWND parent = nullptr);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog modally on the calling thread: the code EndDialog gave
  // (IDOK, IDCANCEL...), or -1 when the window cannot be made.
  virtual INT_PTR DoModal();
  // Makes the dialog modeless, hidden unless its template says visible; false
  // when the window cannot be made.
  bool Create(HWND parent = nullptr);
  // Destroys a modeless dialog's window now.
  void DestroyWindow();

  HWND GetSafeHwnd() const { return hwnd_; }
  HWND GetDlgItem(int controlId) const;
  bool UpdateData(bool save);
  void EndDialog(INT_PTR result);

 protected:
  // Message handlers, in the manner of a message map. Each default does what
  // the system's dialog manager would do alone.
  virtual BOOL OnInitDialog();  // loads the values; TRUE lets the system set the focus
  virtual void DoDataExchange(CDataExchange& dx);
  virtual void OnOK();      // saves the values, then ends with IDOK
  virtual void OnCancel();  // ends with IDCANCEL (Escape, close box, Cancel)
  // WM_COMMAND other than OK and Cancel; true when handled.
  virtual bool OnCommand(int controlId, int notifyCode, HWND control);
  virtual void OnTimer(UINT_PTR timerId);
  // True when the cursor was set; false runs the default processing.
  virtual bool OnSetCursor(HWND window, UINT hitTest, UINT message);
  virtual void OnSize(UINT type, int width, int height);
  // A brush for the control's background, or null for the default colours.
  virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT message);
  // WM_DRAWITEM: hands the item to the bound button with that id.
  virtual bool OnDrawItem(int controlId, const DRAWITEMSTRUCT& item);
  // Called once the window is gone (modal or modeless).
  virtual void OnDestroyed();

  // Any message the handlers above do not cover: true with `result` set when
  // handled, false to leave it to the dialog manager.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

 private:
  friend void DDX_Control(CDataExchange& dx, int controlId, CButton& control);

  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND parent_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  std::vector<std::pair<int, CButton*>> boundButtons_;
};
