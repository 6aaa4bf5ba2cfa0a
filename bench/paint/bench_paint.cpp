// Painter benchmark, run under the same Wine as the tests: every control the
// engine paints, painted through its procedure's own paint path in a skinned
// window (the picture under the control, the painter or the kept face, the
// copy onto the control's window DC), against the same control's native paint
// of the same part in a plain window, onto its window DC too. Rounds
// alternate between the two; the medians and their ratios go into one table:
//   unchanged  the same look painted again (a window paint, a hover that
//              changes nothing);
//   changed    two looks in turn (hover in and out, a new position or text),
//              the native control going through the same changes;
//   drawn      the face drawn afresh every time (its kept faces dropped
//              first): what the first paint at a new size, text or picture costs.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdio>
#include <functional>
#include <vector>

#include "base/unique_resource.h"
#include "bench/support/bench_support.h"
#include "gfx/gdip_image.h"
#include "skin/controls/button_proc.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/parent_messages.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"

using namespace pelmora;

namespace {

constexpr int kRounds = 7, kPerRound = 60;
using Paint = std::function<void(int i)>;  // i: the paint's number in its round

double perPaintUs(const Paint& paint) {
    const double start = bench::nowMs();
    for (int i = 0; i < kPerRound; ++i) paint(i);
    return (bench::nowMs() - start) * 1000.0 / kPerRound;
}

// Medians of engine and native rounds, interleaved.
std::pair<double, double> compare(const Paint& engine, const Paint& native) {
    std::vector<double> e, n;
    for (int i = 0; i < 4; ++i) {  // warm both paths (font caches, first GDI+ use, the faces)
        engine(i);
        native(i);
    }
    for (int r = 0; r < kRounds; ++r) {
        n.push_back(perPaintUs(native));
        e.push_back(perPaintUs(engine));
    }
    return {bench::median(e), bench::median(n)};
}

struct Row {
    const char* what;
    Paint unchanged, changed, drawn, native, nativeChanged;
};

// The controls, the same in both windows.
struct Controls {
    HWND window, push, check, radio, image, edit, combo, bar, track, upDown, label, list, view, header;
};

HWND child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
           DWORD ex = 0) {
    return ::CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr, nullptr,
                             nullptr);
}

Controls makeControls(int y) {
    Controls c{};
    c.window = ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, y, 560, 330,
                                 nullptr, nullptr, nullptr, nullptr);
    c.push = child(c.window, L"BUTTON", L"开始安装", BS_PUSHBUTTON, 10, 40, 90, 26);
    c.check = child(c.window, L"BUTTON", L"我已阅读并同意", BS_AUTOCHECKBOX, 110, 40, 140, 20);
    c.radio = child(c.window, L"BUTTON", L"典型安装", BS_AUTORADIOBUTTON, 260, 40, 120, 20);
    c.image = child(c.window, L"BUTTON", L"浏览", BS_PUSHBUTTON, 390, 40, 90, 26);
    c.edit = child(c.window, L"EDIT", L"C:\\Program Files", ES_READONLY, 10, 80, 300, 24, WS_EX_CLIENTEDGE);
    c.combo = child(c.window, L"COMBOBOX", L"", CBS_DROPDOWNLIST, 320, 80, 150, 200);
    ::SendMessageW(c.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"简体中文"));
    ::SendMessageW(c.combo, CB_SETCURSEL, 0, 0);
    c.bar = child(c.window, PROGRESS_CLASSW, L"", 0, 10, 120, 500, 6);
    ::SendMessageW(c.bar, PBM_SETRANGE32, 0, 100);
    ::SendMessageW(c.bar, PBM_SETPOS, 40, 0);
    c.track = child(c.window, TRACKBAR_CLASSW, L"", TBS_HORZ, 10, 140, 200, 30);
    c.upDown = child(c.window, UPDOWN_CLASSW, L"", 0, 220, 140, 20, 24);
    c.label = child(c.window, L"STATIC", L"安装目录：", SS_LEFT, 260, 145, 120, 20);
    c.list = child(c.window, L"LISTBOX", L"", WS_BORDER | LBS_NOTIFY, 10, 190, 150, 60);
    ::SendMessageW(c.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Pelmora"));
    c.view = child(c.window, WC_LISTVIEWW, L"", LVS_REPORT | WS_BORDER, 180, 190, 300, 100);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 150;
    column.pszText = const_cast<wchar_t*>(L"名称");
    ::SendMessageW(c.view, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<wchar_t*>(L"大小");
    ::SendMessageW(c.view, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    c.header = reinterpret_cast<HWND>(::SendMessageW(c.view, LVM_GETHEADER, 0, 0));
    return c;
}

// A picture for the skinned window: squares of changing colour, as PNG bytes.
ByteBuffer pictureBytes(int width, int height, std::uint32_t base) {
    GdipBitmap bitmap;
    bitmap.create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.setPixel(x, y, base | ((x / 10 * 10) % 256) << 16 | ((y / 10 * 10) % 256) << 8 | 128);
    const Bytes png = bitmap.saveToMemory(std::wstring_view(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}"));
    return ByteBuffer(png.begin(), png.end());
}

void drain() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

void printClient(HWND control, int) {
    const WindowDc dc(control);
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
}

void paintWithDc(HWND control, int) {
    const WindowDc dc(control);
    ::SendMessageW(control, WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
}

void repaintNow(HWND control, int) {
    ::InvalidateRect(control, nullptr, TRUE);
    ::UpdateWindow(control);
}

void nonClient(HWND control, int) {
    ::SendMessageW(control, WM_NCPAINT, 1, 0);
}

DRAWITEMSTRUCT itemFor(HWND button, HDC dc, UINT state) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = button;
    item.hDC = dc;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    ::GetClientRect(button, &item.rcItem);
    return item;
}

template <typename Record>
void dropFaces(HWND control) {
    if (Record* record = locate<Record>(control).record) record->face.clear();
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof icc,
                             ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    startSkinModule();
    SkinEngine& skin = skinEngine();
    skin.setControlSkinning(true, 0);
    SkinTheme theme;
    theme.imageBytes = pictureBytes(560, 330, 0xFF000000u);
    skin.setSkinTheme(theme);

    const Controls native = makeControls(20);
    const Controls skinned = makeControls(380);
    SkinWindowOptions options;
    options.captionHeight = 30;
    options.resizable = false;
    skin.skinWindow(skinned.window, options);
    skin.skinImageButton(skinned.image, pictureBytes(16, 16, 0xFF400000u), 1, L"");
    const HBITMAP glyph = ::CreateBitmap(16, 16, 1, 32, nullptr);
    ::SendMessageW(native.image, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph));
    drain();
    const int windowIndex = findWindowRecord(skinned.window);
    if (!windowIndex) return 2;
    const auto on = [](int i) { return (i & 1) != 0; };

    const auto ownerDrawn = [&](HWND button) {
        return Row{"",
                   [=](int) {
                       const WindowDc dc(button);
                       drawOwnerButton(windowIndex, itemFor(button, dc.get(), 0));
                   },
                   [=](int i) {
                       const WindowDc dc(button);
                       drawOwnerButton(windowIndex, itemFor(button, dc.get(), on(i) ? ODS_HOTLIGHT : 0));
                   },
                   [=](int) {
                       dropFaces<ButtonSkinRecord>(button);
                       const WindowDc dc(button);
                       drawOwnerButton(windowIndex, itemFor(button, dc.get(), 0));
                   },
                   nullptr,
                   nullptr};
    };
    const auto selfDrawn = [&](HWND button) {
        return Row{"",
                   [=](int) { paintButtonState(button, ButtonPaintState(), false); },
                   [=](int i) { paintButtonState(button, ButtonPaintState(), on(i)); },
                   [=](int) {
                       dropFaces<ButtonSkinRecord>(button);
                       paintButtonState(button, ButtonPaintState(), false);
                   },
                   nullptr,
                   nullptr};
    };

    std::vector<Row> rows;
    const auto add = [&](const char* what, Row row, const std::function<void(HWND, int)>& nativePaint, HWND control,
                         const Paint& nativeChange = nullptr) {
        row.what = what;
        row.native = [=](int i) { nativePaint(control, i); };
        row.nativeChanged = nativeChange ? nativeChange : row.native;
        rows.push_back(std::move(row));
    };
    add("push button", ownerDrawn(skinned.push), printClient, native.push);
    add("check box", selfDrawn(skinned.check), printClient, native.check);
    add("radio button", selfDrawn(skinned.radio), printClient, native.radio);
    add("image button", ownerDrawn(skinned.image), printClient, native.image);
    add("edit frame",
        Row{"", [&](int) { paintEditFrame(skinned.edit, true, false); },
            [&](int i) { paintEditFrame(skinned.edit, true, on(i)); },
            [&](int) {
                dropFaces<EditSkinRecord>(skinned.edit);
                paintEditFrame(skinned.edit, true, false);
            },
            nullptr, nullptr},
        nonClient, native.edit);
    // The text area's background: the answer to the edit's colour request laid
    // over its client, against the plain brush the native edit is given, laid
    // over the same client. It has one look: nothing to change.
    RECT client{};
    ::GetClientRect(native.edit, &client);
    const Paint textArea = [&](int) {
        const WindowDc dc(skinned.edit);
        const auto brush = reinterpret_cast<HBRUSH>(answerControlColour(skinned.edit, dc.get()));
        ::FillRect(dc.get(), &client, brush);
    };
    add(
        "edit text area",
        Row{"", textArea, nullptr,
            [&](int i) {
                releaseControlColours(skinned.edit);
                textArea(i);
            },
            nullptr, nullptr},
        [&](HWND control, int) {
            const WindowDc dc(control);
            ::FillRect(dc.get(), &client, ::GetSysColorBrush(COLOR_WINDOW));
        },
        native.edit);
    const auto& combos = windowRecord(windowIndex)->controls<ComboBoxSkinRecord>();
    const ComboBoxSkinRecord& combo = combos.at(combos.indexOf(skinned.combo));
    add("combo box",
        Row{"", [&](int) { paintComboBox(combo, false); }, [&](int i) { paintComboBox(combo, on(i)); },
            [&](int) {
                dropFaces<ComboBoxSkinRecord>(skinned.combo);
                paintComboBox(combo, false);
            },
            nullptr, nullptr},
        printClient, native.combo);
    const auto& bars = windowRecord(windowIndex)->controls<ProgressSkinRecord>();
    const ProgressSkinRecord& bar = bars.at(bars.indexOf(skinned.bar));
    add(
        "progress bar at 40 %",
        Row{"", [&](int) { paintProgressBar(bar); },
            [&](int i) {
                ::SendMessageW(skinned.bar, PBM_SETPOS, 40 + on(i), 0);
                paintProgressBar(bar);
            },
            [&](int) {
                dropFaces<ProgressSkinRecord>(skinned.bar);
                paintProgressBar(bar);
            },
            nullptr, nullptr},
        [](HWND control, int) {
            const NonClientDc dc(control);
            ::SendMessageW(control, WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
        },
        native.bar,
        [&](int i) {
            ::SendMessageW(native.bar, PBM_SETPOS, 40 + on(i), 0);
            const NonClientDc dc(native.bar);
            ::SendMessageW(native.bar, WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
        });
    auto& tracks = windowRecord(windowIndex)->controls<TrackBarSkinRecord>();
    TrackBarSkinRecord& track = tracks.at(tracks.indexOf(skinned.track));
    add("track bar",
        Row{"", [&](int) { paintTrackBar(track); },
            [&](int i) {
                track.hot = on(i);
                paintTrackBar(track);
            },
            [&](int) {
                dropFaces<TrackBarSkinRecord>(skinned.track);
                paintTrackBar(track);
            },
            nullptr, nullptr},
        paintWithDc, native.track);
    const auto& upDowns = windowRecord(windowIndex)->controls<UpDownSkinRecord>();
    const UpDownSkinRecord& upDown = upDowns.at(upDowns.indexOf(skinned.upDown));
    add("up-down",
        Row{"", [&](int) { paintUpDown(upDown, false); }, [&](int i) { paintUpDown(upDown, on(i)); },
            [&](int) {
                dropFaces<UpDownSkinRecord>(skinned.upDown);
                paintUpDown(upDown, false);
            },
            nullptr, nullptr},
        paintWithDc, native.upDown);
    add("static text", Row{"", [&](int i) { repaintNow(skinned.label, i); }, nullptr, nullptr, nullptr, nullptr},
        repaintNow, native.label);
    const Located<ListSkinRecord> list = locate<ListSkinRecord>(skinned.list);
    add("list frame",
        Row{"", [&](int) { paintListFrame(list, false, false); }, [&](int i) { paintListFrame(list, on(i), false); },
            nullptr, nullptr, nullptr},
        nonClient, native.list);
    add("list-view header", Row{"", [&](int i) { repaintNow(skinned.header, i); }, nullptr, nullptr, nullptr, nullptr},
        repaintNow, native.header);

    std::printf("per paint, us (median of %d x %d); ratio = engine / native\n", kRounds, kPerRound);
    std::printf("%-22s %10s %10s %7s %10s %10s %7s %10s %7s\n", "", "unchanged", "native", "ratio", "changed", "native",
                "ratio", "drawn", "ratio");
    for (const Row& row : rows) {
        const auto [u, nu] = compare(row.unchanged, row.native);
        std::printf("%-22s %10.1f %10.1f %7.2f", row.what, u, nu, u / nu);
        if (row.changed) {
            const auto [c, nc] = compare(row.changed, row.nativeChanged);
            std::printf(" %10.1f %10.1f %7.2f", c, nc, c / nc);
        } else {
            std::printf(" %10s %10s %7s", "-", "-", "-");
        }
        if (row.drawn) {
            const auto [d, nd] = compare(row.drawn, row.native);
            std::printf(" %10.1f %7.2f", d, d / nd);
        } else {
            std::printf(" %10s %7s", "-", "-");
        }
        std::printf("\n");
    }
    std::printf("goals: unchanged <= 1.5, changed <= 3\n");
    ::DestroyWindow(skinned.window);
    ::DestroyWindow(native.window);
    ::DeleteObject(glyph);
    endSkinModule();
    return 0;
}
