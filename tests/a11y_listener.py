#!/usr/bin/python3
# The window as a screen reader meets it over AT-SPI, from outside its process: names, roles and
# descriptions; the event Orca speaks for each status message (a notification that shows); what a
# marked field says; where focus is during and after Read, Write, Save and Load. Orca 43 speaks a
# notification when it shows; text changes of a box without focus it does not speak.
# usage: a11y_listener.py DEMO-PROGRAM   (starts its own X server and private D-Bus and AT-SPI buses)
import os, shutil, subprocess, sys, tempfile, time

need = [p for p in ('xvfb-run', 'dbus-run-session', '/usr/libexec/at-spi-bus-launcher')
        if not shutil.which(p)]
try:
    import pyatspi
    from gi.repository import GLib
except ImportError:
    need.append('python3-pyatspi')
if need:
    sys.exit(print('SKIP: not installed:', *need) or 77)
if 'A11Y_BUSES' not in os.environ:
    os.environ['A11Y_BUSES'] = '1'
    os.execvp('xvfb-run', ['xvfb-run', '-a', 'dbus-run-session', '--', sys.argv[0], *sys.argv[1:]])

def check(ok, what):
    if not ok:
        demo.kill()
        sys.exit(print('FAIL:', what) or 1)

def wait(pred, what, secs=15):
    end = time.time() + secs
    while not pred():
        check(time.time() < end, 'timed out: ' + what)
        GLib.MainContext.default().iteration(False) or time.sleep(0.01)

find = pyatspi.findDescendant
desktop = pyatspi.Registry.getDesktop(0)  # starts the AT-SPI bus before the program looks for it
# On X: Qt's offscreen platform, which the other suites use, has no accessibility bridge.
# Under AddressSanitizer, its strict string checks stop libxkbcommon-x11's strndup of an X reply.
asan = os.environ.get('ASAN_OPTIONS', '') + ':strict_string_checks=0'
demo = subprocess.Popen([sys.argv[1]], stdout=subprocess.DEVNULL, env=dict(
    os.environ, QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', ASAN_OPTIONS=asan))
wait(lambda: desktop.childCount and desktop[0] and desktop[0].childCount, 'window on the AT-SPI bus')
app = desktop[0]
spoken, focused = [], []
listen = pyatspi.Registry.registerEventListener
listen(lambda e: e.detail1 and e.source.getRole() == pyatspi.ROLE_NOTIFICATION
       and spoken.append(e.source.description), 'object:state-changed:showing')
listen(lambda e: e.detail1 and focused.append(e.source.name), 'object:state-changed:focused')

role = lambda name, *roles: find(app, lambda o: o.name == name and o.getRole() in roles)
button = lambda name: role(name, pyatspi.ROLE_PUSH_BUTTON)
field = lambda name: role(name, pyatspi.ROLE_TEXT, pyatspi.ROLE_COMBO_BOX)
check(field('4mA set point, US gal/min') and role('Controls', pyatspi.ROLE_PANEL), 'units and groups')
path = os.path.join(tempfile.mkdtemp(), 'a11y.bdf')

def fill_dialog(accept):  # what a screen reader user does in the file dialog
    wait(lambda: find(desktop[0], lambda o: o.getRole() == pyatspi.ROLE_DIALOG), 'file dialog')
    dialog = find(app, lambda o: o.getRole() == pyatspi.ROLE_DIALOG)
    wait(lambda: dialog.getState().contains(pyatspi.STATE_ACTIVE), 'dialog active')
    focused_text = lambda o: o.getRole() == pyatspi.ROLE_TEXT and o.getState().contains(pyatspi.STATE_FOCUSED)
    find(dialog, focused_text).queryEditableText().setTextContents(path)
    find(dialog, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == accept) \
        .queryAction().doAction(0)

def act(name, said, dialog=None):
    start = button(name)
    start.queryComponent().grabFocus()
    wait(lambda: start.getState().contains(pyatspi.STATE_FOCUSED), name + ' focused')
    spoken.clear(), focused.clear()
    start.queryAction().doAction(0)
    dialog and fill_dialog(dialog)
    wait(lambda: said in spoken, f'{name}: "{said}" spoken, heard {spoken}')
    wait(lambda: start.getState().contains(pyatspi.STATE_FOCUSED), f'{name} focused again: went {focused}')
    check(focused[0] == 'Messages' and 'Exit' not in focused, f'{name}: focus went {focused}')

act('Read Sensor Settings', 'Success: Sensor Settings Read ')
check('Notice: Reading The Sensor Settings' in spoken, f'a busy message is a notice: {spoken}')
check(field('Flow/Velocity Units') and field('Averaging Time'), 'lists keep their captions with a row shown')
act('Write Settings To Sensor', 'Success: Sensor Settings Written')
act('Save Settings To File', 'Success: Settings Saved To File' + path, 'Save')
act('Load Settings From File', 'Success: Settings Read From File', 'Open')
pipe = field('Pipe ID')
pipe.queryEditableText().setTextContents('x')
message = 'Please Enter A Valid Number For The PipeID'
act('Write Settings To Sensor', 'Error: ' + message)
check(pipe.description.startswith(message + ' - Enter The Pipe'), 'mark says why: ' + pipe.description)
act('Restore Factory Settings', 'Error: ' + message)  # validation marks it again
pipe.queryEditableText().setTextContents('44')
act('Read Sensor Settings', 'Success: Sensor Settings Read ')
check(pipe.description == 'Enter The Pipe Inner Diameter', 'mark cleared: ' + pipe.description)
demo.kill()
print('PASS: names, roles, descriptions, spoken messages, marks and focus')
