"""The PowerPoint, Word and Excel exports from the preview of the real program,
against the stand-in automation server (tests/doubles/office) that COM starts
and whose call log is compared with the calls the exports must make.
Imported by tavro_e2e.py."""
import datetime
import os
import re
import time

from tavro_e2e_base import PREVIEW

POWERPOINT, WORD, EXCEL = 1001, 1003, 1004
ERROR_BOX = "Tavro Screen Capture v2.0"
ID_MESSAGE_TEXT = 65535
CALL = re.compile(r"^(\w+): (\w+\.\w+ (?:get|put|call)\(.*\))$")


def today():
    d = datetime.date.today()
    return f"{d.strftime('%B')} {d.day}, {d.year}"


class Office:
    """The stand-in's registration, log and control file for one scenario."""

    def __init__(self, t):
        self.t = t
        self.log = os.path.join(t.desk.tmp, "office.log")
        self.control_file = os.path.join(t.desk.tmp, "office.control")
        exe = os.path.join(t.build, "doubles", "office_double.exe")
        t.desk.wine([exe, "/regserver"])
        t.desk.env["OFFICE_DOUBLE_LOG"] = "Z:" + self.log.replace("/", "\\")
        t.desk.env["OFFICE_DOUBLE_CONTROL"] = "Z:" + self.control_file.replace("/", "\\")
        self.control("")
        self.clear()

    def control(self, text):
        with open(self.control_file, "w") as f:
            f.write(text)

    def clear(self):
        open(self.log, "w").close()

    def lines(self):
        with open(self.log, encoding="utf-8") as f:
            return f.read().splitlines()

    def calls(self, app):
        return [m.group(2) for m in map(CALL.match, self.lines()) if m and m.group(1) == app]

    def states(self, app, start):
        prefix = f"{app}: {start}"
        return [l[len(app) + 2:] for l in self.lines() if l.startswith(prefix)]

    def export(self, button, app, expected, seconds=30, unlogged=None):
        """Presses the preview's button and waits for the calls expected.
        A call starting with unlogged may not reach the log (its argument
        could not be delivered) and is left out of the comparison."""
        self.clear()
        self.t.click_control(PREVIEW, button)
        keep = lambda calls: [c for c in calls if not (unlogged and c.startswith(unlogged))]
        try:
            self.t.wait_until(lambda: len(keep(self.calls(app))) >= len(keep(expected)), seconds,
                              f"{app}'s calls")
        finally:
            time.sleep(0.5)  # nothing more may follow
        got = keep(self.calls(app))
        assert got == keep(expected), "\n".join(["got:"] + self.calls(app) + ["expected:"] + expected)

    def wait_line(self, line, seconds=15):
        self.t.wait_until(lambda: line in self.lines(), seconds, line)


# ---- the call sequences ----

def slide_caption(left, width, box, text):
    return [f"Shapes.AddTextbox call(i4:1, i4:{left}, i4:510, i4:{width}, i4:15)", "Shape.Name get()",
            f'Shapes.Item call(str:"{box}")', "Shape.TextFrame get()", "TextFrame.TextRange get()",
            f'TextRange.Text put(str:"{text}")',
            f'Shapes.Item call(str:"{box}")', "Shape.TextFrame get()", "TextFrame.TextRange get()",
            "TextRange.Font get()", "Font.Size put(i4:14)"]


def powerpoint_calls(lookup, new, name, date, user="Ann"):
    calls = ["Application.Presentations get()", f'Presentations.Item call(str:"{lookup}")']
    if new:
        calls += ["Application.Presentations get()", "Presentations.Add call()"]
    if lookup is None:  # a just started application: no lookup
        calls = calls[2:]
    # A whole screen of 1024 x 768 pixels pastes 576 points high: limited by its height.
    calls += ["Presentation.Name get()", "Presentation.Slides get()", "Slides.Add call(i4:1, i4:12)",
              "Slide.Shapes get()", "Shapes.Paste call()", "Application.Visible put(bool:-1)",
              "Presentation.Slides get()", "Slides.Item call(i4:1)", "Slide.Select call()",
              "Shapes.Item call(i4:1)", "Shape.Height get()", "Shape.Height put(i4:480)",
              "Shape.Top put(i4:20)", "Shape.Left put(i4:40)"]
    box = 3
    if name:
        calls += slide_caption(30, 400, f"TextBox {box}", user)
        box += 1
    if date:
        calls += slide_caption(560, 150, f"TextBox {box}", today())
    return calls


def word_calls(lookup, new, name, date, user="Ann"):
    calls = ["Application.Documents get()", f"Documents.Item call(ref:{lookup})"]
    if new:
        calls += ["Application.Documents get()", "Documents.AddOld call()"]
    if lookup is None:
        calls = calls[2:]
    calls += ["Application.Selection get()"]
    if new and name:
        calls += [f'Selection.TypeText call(str:"{user}\\r")']
    if new and date:
        calls += [f'Selection.TypeText call(str:"{today()}\\r\\r")']
    return calls + ["Selection.Paste call()", 'Selection.TypeText call(str:"\\r")',
                    'Selection.TypeText call(str:"\\r")', "Application.Visible put(bool:-1)"]


def excel_calls(lookup, new, name, date, user="Ann"):
    calls = ["Application.Workbooks get()", f'Workbooks.Item get(str:"{lookup}")']
    if new:
        calls += ["Application.Workbooks get()", "Workbooks.Add call()"]
    if lookup is None:
        calls = calls[2:]
    calls += ["Workbook.Sheets get()", "Sheets.Add call()", "Workbook.Name get()"]
    if name:
        calls += ['Worksheet.Range get(str:"A2", str:"A2")', f'Range.Value put(str:"{user}")']
    if date:
        calls += ['Worksheet.Range get(str:"A3", str:"A3")', f'Range.Value put(str:"\'{today()}")']
    return calls + ['Worksheet.Range get(str:"B5", str:"B5")', "Range.Select call()", "Worksheet.Paste call()",
                    "Workbook.Activate call()", "Worksheet.Visible put(bool:-1)",
                    "Application.DisplayFullScreen put(bool:-1)", "Application.DisplayFullScreen put(bool:0)",
                    "Application.Visible put(bool:-1)"]


def started(t, office, **settings):
    t.start(DateStampImage=("REG_SZ", 0), UserName=("REG_SZ", "Ann"), **settings)
    t.capture_entire_screen()


SETTINGS = " Settings"
NAME_BOX, DATE_BOX = 5004, 5005


# ---- scenarios ----

def OfficeExportsGoIntoTheKeptDocumentsAndSurviveAQuit(t):
    office = Office(t)
    started(t, office)
    office.export(POWERPOINT, "PowerPoint", powerpoint_calls("", True, True, True))
    assert office.states("PowerPoint", "pasted") == ["pasted 1024x768"]
    office.export(POWERPOINT, "PowerPoint", powerpoint_calls("Presentation1", False, True, True))

    office.export(WORD, "Word", word_calls("empty", True, True, True))
    office.export(WORD, "Word", word_calls("obj:Document1", False, True, True))
    assert office.states("Word", "Document1 holds")[-1] == (
        f'Document1 holds "Ann\\r{today()}\\r\\r[picture 1024x768]\\r\\r[picture 1024x768]\\r\\r"')

    office.export(EXCEL, "Excel", excel_calls("", True, True, True))
    assert office.states("Excel", "Book1!") == [
        'Book1!Sheet2 A2 = "Ann"', f'Book1!Sheet2 A3 = "\'{today()}"', "Book1!Sheet2 picture 1024x768 at B5"]
    office.export(EXCEL, "Excel", excel_calls("Book1", False, True, True))
    assert office.states("Excel", "Book1!")[-1] == "Book1!Sheet3 picture 1024x768 at B5"

    # The user quits all three: the next exports start them again, with new documents.
    office.control("quit all\n")
    for app in ("PowerPoint", "Word", "Excel"):
        office.wait_line(f"{app}: quit")
    time.sleep(0.5)
    # Started again, they show up as running objects only after a while (as
    # the real ones do): then no lookup is made, and the names are forgotten.
    office.control("rotdelay all 3000\n")
    office.export(POWERPOINT, "PowerPoint", powerpoint_calls(None, True, True, True))
    office.export(WORD, "Word", word_calls(None, True, True, True))
    office.export(EXCEL, "Excel", excel_calls(None, True, True, True))
    assert not t.visible(ERROR_BOX)
    # Once they are registered, the quit instance's documents are not looked for.
    time.sleep(3)
    office.control("")
    office.export(POWERPOINT, "PowerPoint", powerpoint_calls("Presentation1", False, True, True))
    office.export(EXCEL, "Excel", excel_calls("Book1", False, True, True))

    # Now they cannot be started any more: the buttons do nothing visible.
    office.control("quit all\n")
    for app in ("PowerPoint", "Word", "Excel"):
        office.wait_line(f"{app}: quit")
    time.sleep(0.5)
    office.control("absent all\n")
    for button, app in ((POWERPOINT, "PowerPoint"), (WORD, "Word"), (EXCEL, "Excel")):
        office.clear()
        t.click_control(PREVIEW, button)
        office.wait_line(f"{app}: refused to start", 30)
        time.sleep(1)
        assert office.calls(app) == []
        assert not t.visible(ERROR_BOX)
    assert t.visible(PREVIEW)
    office.control("")
    # Wine may still be waiting for the last application that refused to
    # start; while that export runs, Exit goes to the tray instead of ending.
    t.choose_exit_after_preview(tries=6)


def OfficeCaptionsFollowTheSettingsDialogsBoxes(t):
    """The exports follow the settings dialog's two boxes as they stand, stored
    or not; before the dialog was ever shown both are checked."""
    office = Office(t)
    started(t, office, NameOnSlides=("REG_SZ", 0), DateOnSlides=("REG_SZ", 0))
    office.export(POWERPOINT, "PowerPoint", powerpoint_calls("", True, True, True))

    def settings(*clicks, ok=False):
        t.choose("Settings")
        t.wait_window(SETTINGS)
        for box in clicks:
            t.driver("click", SETTINGS, box)
        time.sleep(0.3)
        t.click_control(SETTINGS, 1 if ok else 2)
        t.wait_gone(SETTINGS)

    settings()  # shows the stored states: both off, kept after Cancel
    office.export(POWERPOINT, "PowerPoint", powerpoint_calls("Presentation1", False, False, False))
    settings(NAME_BOX)  # ticked, then cancelled: the export still follows the box
    office.export(WORD, "Word", word_calls("empty", True, True, False))
    settings(DATE_BOX, ok=True)  # the showing starts again from the stored states
    office.export(EXCEL, "Excel", excel_calls("", True, False, True))
    t.choose_exit_after_preview()


def OfficeErrorsShowTheApplicationsTextAndBusyApplicationsAreAwaited(t):
    office = Office(t)
    started(t, office)
    office.control("fail all Slides.Add The slide cannot be added now\n")
    office.clear()
    t.click_control(PREVIEW, POWERPOINT)
    t.wait_window(ERROR_BOX, 30)
    assert t.driver("text", ERROR_BOX, ID_MESSAGE_TEXT).strip() == "The slide cannot be added now."
    t.click_control(ERROR_BOX, 1)
    t.wait_gone(ERROR_BOX)
    office.control("")
    # The references were kept: the next export finds the same presentation.
    office.export(POWERPOINT, "PowerPoint", powerpoint_calls("Presentation1", False, True, True))

    # Busy for two seconds from the first call: the export waits and completes.
    office.control("busy all 2000 once\n")
    begin = time.time()
    office.export(WORD, "Word", word_calls("empty", True, True, True))
    assert time.time() - begin >= 2
    assert office.states("Word", "refused a call")
    assert not t.visible(ERROR_BOX)
    office.control("")
    t.choose_exit_after_preview()


SCENARIOS = [OfficeExportsGoIntoTheKeptDocumentsAndSurviveAQuit, OfficeCaptionsFollowTheSettingsDialogsBoxes,
             OfficeErrorsShowTheApplicationsTextAndBusyApplicationsAreAwaited]
