"""Mailing from the preview of the real program: the explanation once per run,
the save path, and the message handed to the mail library, read from the
record the test-only MAPI32.DLL (tests/doubles/mapi32) writes. Imported by
tavro_e2e.py."""
import os
import shutil
import subprocess
import time

from tavro_e2e_base import PREVIEW, known_picture
from save_e2e import SAVE_DIALOG, ID_FILE_NAME, ID_FILE_TYPE, ID_RENAME, TYPES, answer_file_exists, wait_files

INFO = "Information"
INFO_TEXT = b"Image will be saved as a file.\rThen it will be attached to an email message."
ID_MAIL = 1007
ID_BOX_TEXT = 65535  # the text of a message box


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def start_with_mail_library(t, library, seed, result=0, first_start=True):
    """Starts a copy of tavro.exe with the stand-in (library "full" or
    "nosend") beside it, or with no mail library at all (None), and captures
    the screen."""
    app = os.path.join(t.desk.tmp, "app")
    if first_start:
        os.makedirs(app)
        shutil.copy(os.path.join(t.build, "tavro.exe"), app)
        if library:
            folder = os.path.join(t.build, "tests", "doubles", "mapi32")
            shutil.copy(os.path.join(folder, "" if library == "full" else library, "MAPI32.DLL"), app)
    t.record = os.path.join(t.desk.tmp, "mail-record.txt")
    t.desk.env.update(WINEDLLOVERRIDES="mscoree,mshtml=;mapi32=" + ("n,b" if library else ""),
                      TAVRO_MAPI_RECORD=windows_path(t.record), TAVRO_MAPI_RESULT=str(result))
    w, h = t.desk.width, t.desk.height
    t.desk.show_on_root(known_picture(w, h, seed), w, h)
    t.start(exe=os.path.join(app, "tavro.exe"), DateStampImage=("REG_SZ", 0))
    t.capture_entire_screen()
    folder = os.path.join(t.desk.tmp, "saved")
    os.makedirs(folder, exist_ok=True)
    return folder


def record(t):
    """The stand-in's record: the loaded/unloaded lines and one dict per call."""
    if not os.path.exists(t.record):
        return [], []
    events, calls = [], []
    for line in open(t.record, "rb").read().decode("latin-1").splitlines():
        key, _, value = line.partition("=")
        if key in ("loaded", "unloaded"):
            events.append(key)
        elif key == "call":
            calls.append({})
        elif calls:
            calls[-1][key] = value
    return events, calls


def mail_with_explanation(t):
    """Mail button on the first use of a run: the explanation comes before the
    save dialog, with its two lines split by a carriage return."""
    t.click_control(PREVIEW, ID_MAIL)
    t.wait_window(INFO)
    text = subprocess.run(["wine", t.driver_exe, "text", INFO, str(ID_BOX_TEXT)], env=t.desk.env,
                          stdin=subprocess.DEVNULL, capture_output=True, timeout=60).stdout
    assert text == INFO_TEXT + b"\r\n", text
    assert not t.visible(SAVE_DIALOG)
    t.click_control(INFO, 1)
    t.wait_gone(INFO)
    t.wait_window(SAVE_DIALOG)


def fill_save_dialog(t, folder, name, kind):
    t.driver("select", SAVE_DIALOG, ID_FILE_TYPE, TYPES[kind])
    x, y, w, h = t.rect(SAVE_DIALOG, ID_FILE_NAME)
    t.desk.click(x + w // 2, y + h // 2)
    t.desk.key("ctrl+a")
    t.desk.run(["xdotool", "type", "--delay", "5", windows_path(os.path.join(folder, name))])
    t.click_control(SAVE_DIALOG, 1)
    t.wait_gone(SAVE_DIALOG)


def assert_silent(t):
    """Nothing reported: no message box, the preview back in use."""
    time.sleep(1.5)
    boxes = [w for w in t.windows() if w[0] == "#32770"]
    assert not boxes, boxes
    assert t.driver("enabled", PREVIEW, ID_MAIL).strip() == "1"


def assert_message(call, path):
    assert call["session"] == "0" and call["flags"] == "9" and call["reserved"] == "0", call
    assert call["parent.class"] == '"TForm1"', call  # the application window
    assert call["subject"] == '"image"' and call["note"] == "null", call
    for empty in ("type", "date", "conversation", "originator"):
        assert call[empty] == "null", (empty, call)
    assert call["message.flags"] == "0" and call["recipcount"] == "0" and call["recips"] == "0", call
    assert call["filecount"] == "1", call
    assert call["file0.path"] == '"' + windows_path(path) + '"', (call, path)
    assert call["file0.flags"] == "0" and call["file0.position"] == "4294967295", call
    assert call["file0.name"] == "null" and call["file0.type"] == "0", call
    assert call["file0.exists"] == "1" and call["file0.size"] == str(os.path.getsize(path)), call


def MailExplainsOncePerRunAndAttachesTheWrittenFile(t):
    # The stand-in answers as when the user closes the message unsent.
    folder = start_with_mail_library(t, "full", 20, result=1)
    mail_with_explanation(t)
    fill_save_dialog(t, folder, "shot", "bmp")
    wait_files(t, folder, ["shot.bmp"])
    t.wait_until(lambda: len(record(t)[1]) == 1, 20, "the mail hand-over")
    assert_message(record(t)[1][0], os.path.join(folder, "shot.bmp"))
    assert_silent(t)

    # Second use: straight to the save dialog; a renamed save mails the
    # numbered file that was written.
    t.click_control(PREVIEW, ID_MAIL)
    t.wait_window(SAVE_DIALOG)
    assert not t.visible(INFO)
    fill_save_dialog(t, folder, "shot", "bmp")
    answer_file_exists(t, ID_RENAME)
    wait_files(t, folder, ["shot.bmp", "shot(1).bmp"])
    t.wait_until(lambda: len(record(t)[1]) == 2, 20, "the second mail hand-over")
    assert_message(record(t)[1][1], os.path.join(folder, "shot(1).bmp"))
    assert record(t)[0] == ["loaded", "unloaded"] * 2, record(t)[0]
    assert_silent(t)

    # After a restart the explanation comes again; cancelling the save dialog
    # then ends the command without mail.
    t.choose_exit_after_preview()
    start_with_mail_library(t, "full", 21, first_start=False)
    mail_with_explanation(t)
    t.click_control(SAVE_DIALOG, 2)
    t.wait_gone(SAVE_DIALOG)
    assert_silent(t)
    assert len(record(t)[1]) == 2 and len(record(t)[0]) == 4, record(t)
    assert sorted(os.listdir(folder)) == ["shot(1).bmp", "shot.bmp"]


def MailWithoutLibraryOrSendFunctionIsSilent(t):
    # No mail library at all: the file is saved, nothing is said.
    folder = start_with_mail_library(t, None, 22)
    mail_with_explanation(t)
    fill_save_dialog(t, folder, "first", "jpg")
    wait_files(t, folder, ["first.jpg"])
    assert_silent(t)
    assert record(t) == ([], []), record(t)

    # A mail library without MAPISendMail: loaded, let go, nothing said.
    t.choose_exit_after_preview()
    shutil.rmtree(os.path.join(t.desk.tmp, "app"))
    start_with_mail_library(t, "nosend", 23)
    mail_with_explanation(t)
    fill_save_dialog(t, folder, "second", "gif")
    wait_files(t, folder, ["first.jpg", "second.gif"])
    t.wait_until(lambda: record(t)[0] == ["loaded", "unloaded"], 20, "the library to be let go")
    assert_silent(t)
    assert record(t)[1] == []


SCENARIOS = [MailExplainsOncePerRunAndAttachesTheWrittenFile, MailWithoutLibraryOrSendFunctionIsSilent]
