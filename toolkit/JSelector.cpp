#include "toolkit/JSelector.h"

#include "platform/Text.h"
#include "toolkit/Blit.h"

JPopupChooser gPopupChooser;

namespace {

constexpr int kPopupWidth = 198;
constexpr int kPopupColumn = 44;  // cell pitch in the popup
constexpr int kPopupRow = 36;

// A grid cell, mirrored with JSF_TRANSPOSED.
void CopyCell(const JSelector* selector, HDC target, int left, int top, int right, int bottom, int sourceX,
              int sourceY) {
    if (selector->flags & JSF_TRANSPOSED)
        CopyRectTransposed(selector->strip, target, left, top, right, bottom, sourceX, sourceY);
    else
        CopyRectFrom(selector->strip, target, left, top, right, bottom, sourceX, sourceY);
}

void PaintPopup(HWND popup) {
    const JPopupChooser& chooser = gPopupChooser;
    PAINTSTRUCT paint;
    BeginPaint(popup, &paint);
    HDC dc = GetSkinDC(popup);
    TileBitmap(chooser.context->background, dc, paint.rcPaint);
    const JSelector* selector = chooser.selector;
    for (int64_t i = 0; i <= selector->maxValue; ++i) {
        const int column = static_cast<int>(i % 4);
        const int row = static_cast<int>(i / 4);
        const int left = kPopupColumn * column + 18;
        const int top = kPopupRow * row + 10;
        CopyCell(selector, dc, left, top, left + kGridCell, top + kGridCell, kGridCell * column,
                 kGridCell * row);
        char number[16];  // room for any int
        wsprintfA(number, "%0.2i", static_cast<int>(i + 1));
        TextOutA(dc, kPopupColumn * column + 4, kPopupRow * row + 12, number, 2);
    }
    ReleaseDC(popup, dc);
    EndPaint(popup, &paint);
}

}  // namespace

JSelector::JSelector(const char* hoverText, const JRect& origin, JContext* context, uint32_t bitmapId,
                     uint32_t labelOffset, const char* label, int firstState, int stateCount, int commandId,
                     int flags, const char* name)
    : JElement(hoverText, context),
      value(firstState),
      hitRect(),
      eraseRect(),
      flags(flags),
      strip(nullptr),
      minValue(0),
      maxValue(0),
      name(),
      toggleMode(0),
      labelOffset(),
      label() {
    CopyText(this->name, name ? name : "");
    if (flags & JSF_VALUE_ONLY)
        return;
    hitRect = origin;
    strip = new JBitmap();
    strip->created = LoadSkinBitmap(bitmapId, strip, context->instance, context->paintDC);
    const int h = strip->height;
    SetRect(&eraseRect, origin.left, origin.top, origin.left + origin.right, origin.top + origin.bottom);
    const int size = (flags & JSF_GRID) ? kGridCell : h;
    hitRect.right = origin.left + size;
    hitRect.bottom = origin.top + size;
    if (flags & JSF_DOUBLE_WIDTH)
        hitRect.right = origin.left + 2 * h;
    this->commandId = commandId;
    minValue = firstState;
    toggleMode = stateCount > 0 ? 0 : 1;
    maxValue = stateCount > 0 ? stateCount : -stateCount;
    value = firstState;
    this->labelOffset.x = static_cast<int>((labelOffset >> 16) & 0xFFFF) - 0x8000;
    this->labelOffset.y = static_cast<int>(labelOffset & 0xFFFF) - 0x8000;
    CopyText(this->label, label ? label : "");
}

JSelector::~JSelector() {
    if (strip) {
        ReleaseSkinBitmap(strip);
        delete strip;
    }
}

int JSelector::GetValue() {
    return (flags & JSF_VALUE_ONLY) ? value : value - minValue;
}

void JSelector::SetValue(int v) {
    if (flags & JSF_VALUE_ONLY) {
        value = v;
        return;
    }
    int64_t wanted = static_cast<int64_t>(v) + minValue;
    if (wanted < minValue)
        wanted = minValue;
    if (wanted > maxValue)
        wanted = maxValue;
    value = static_cast<int32_t>(wanted);
}

void JSelector::Step(int delta) {
    value += delta;
    // Only a value below 0, not below minValue, wraps to the top.
    if (value > maxValue)
        value = minValue;
    if (value < 0)
        value = maxValue;
    Draw(context->paintDC);
}

void JSelector::Draw(HDC dc) {
    if (flags & JSF_VALUE_ONLY)
        return;
    if (!visible) {
        TileBitmap(context->background, dc, eraseRect);
        return;
    }
    HDC back = context->backDC;
    if (flags & JSF_GRID) {
        CopyCell(this, back, hitRect.left, hitRect.top, hitRect.right, hitRect.bottom,
                 (value % 4) * kGridCell, (value / 4) * kGridCell);
        BlitRect(hitRect, dc, back);
        return;
    }
    const int frame = (flags & JSF_DOUBLE_WIDTH) ? 2 * strip->height : strip->height;
    const int start = frame * value;
    const int end = frame * (value + 1);
    if (end > strip->width)
        return;
    if (flags & JSF_TRANSPOSED) {
        CopyStripTransposed(strip, back, start, hitRect.left, end, hitRect.top);
    } else if (flags & JSF_TRANSPARENT) {
        if (context->background)
            TileBitmap(context->background, back, hitRect);
        CopyStripTransparent(strip, back, start, hitRect.left, end, hitRect.top);
    } else {
        CopyStrip(strip, back, start, hitRect.left, end, hitRect.top);
    }
    BlitRect(hitRect, dc, back);
    TextAt(label, dc, hitRect.left + labelOffset.x, hitRect.top - labelOffset.y);
}

int JSelector::OnMouse(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (flags & JSF_VALUE_ONLY)
        return 0;
    const int x = MouseX(lParam);
    const int y = MouseY(lParam);
    const bool inside = hitRect.left <= x && x <= hitRect.right && hitRect.top <= y && y <= hitRect.bottom;
    const UINT kind = message & 0xFFFF;
    const bool pressed = toggleMode && (value & 1);
    if (!inside) {
        if (kind == WM_MOUSEMOVE)
            ShowHoverText(this, 0);
        // Leaving the box, or any message outside it, cancels a press.
        if (pressed) {
            --value;
            Draw(context->paintDC);
        }
        return 0;
    }
    const bool grid = (flags & JSF_GRID) != 0;
    switch (kind) {
        case WM_MOUSEMOVE:
            ShowHoverText(this, 1);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (grid) {
                if (kind == WM_LBUTTONDOWN)
                    return ChooseFromPopup(window);
                if (commandId)
                    PostMessageA(window, WM_JCOMMAND, static_cast<WPARAM>(commandId + 1), 0);
                return 0;
            }
            Step(kind == WM_LBUTTONDOWN ? 1 : -1);
            if (!toggleMode)
                PostCommand(window, commandId);
            return 1;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (!pressed)
                return 0;
            Step(kind == WM_LBUTTONUP ? 1 : -1);
            PostCommand(window, commandId);
            return 1;
        default:
            return 0;
    }
}

int JSelector::ChooseFromPopup(HWND window) {
    JPopupChooser& chooser = gPopupChooser;
    chooser.selector = this;
    chooser.context = context;

    // A popup with a border and no controls, menu, class or title.
    constexpr DWORD kStyle = WS_POPUP | WS_BORDER | DS_MODALFRAME;
    alignas(4) WORD dialogTemplate[12] = {LOWORD(kStyle), HIWORD(kStyle)};

    // The popup's bottom-right corner goes just above and left of the box, or
    // below the box when the box is too near the top of the window.
    POINT clientOrigin = {0, 0};
    ClientToScreen(window, &clientOrigin);
    const int x = hitRect.left + clientOrigin.x - 1;
    int y = hitRect.top + clientOrigin.y - 1;
    chooser.width = kPopupWidth;
    chooser.height = (maxValue / 4) * kPopupRow + 50;
    if (hitRect.top < chooser.height)
        y = clientOrigin.y + hitRect.bottom + chooser.height;

    // A paint of the window during the modal loop resets paintDC; the dispatch's
    // DC is still the one to draw into afterwards.
    HDC dispatchDC = context->paintDC;
    DialogBoxIndirectParamA(context->instance, reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate), window,
                            SelectorPopupProc, MAKELPARAM(x, y));
    context->paintDC = dispatchDC;

    const LPARAM click = chooser.click;
    if (!click)
        return 0;
    const int column = (MouseX(click) - 9) / kPopupColumn;
    const int row = (MouseY(click) - 5) / kPopupRow;
    const int64_t picked = static_cast<int64_t>(column < 0 ? 0 : column) + 4 * (row < 0 ? 0 : row);
    value = static_cast<int32_t>(picked > maxValue ? maxValue : picked);
    Step(0);
    PostCommand(window, commandId);
    return 1;
}

INT_PTR CALLBACK SelectorPopupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) {
    JPopupChooser& chooser = gPopupChooser;
    switch (message) {
        case WM_INITDIALOG:
            // lParam holds the bottom-right corner.
            SetWindowPos(popup, nullptr, MouseX(lParam) - chooser.width, MouseY(lParam) - chooser.height,
                         chooser.width, chooser.height, 0);
            chooser.click = 0;
            return FALSE;
        case WM_PAINT:
            PaintPopup(popup);
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(popup, static_cast<INT_PTR>(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_LBUTTONUP:
            chooser.click = lParam;
            SendMessageA(popup, WM_COMMAND, IDCANCEL, 0);
            return FALSE;
        case WM_RBUTTONDOWN:
            SendMessageA(popup, WM_COMMAND, IDCANCEL, 0);
            return FALSE;
        default:
            return FALSE;
    }
}
