# Sourced: a private print spooler for the printing tests. cupsd runs with its
# own configuration, spool and logs under BUILD_DIR/cups, listens on a socket
# there only, and has one PostScript queue "TavroPDF" (the PDF printer's
# description on a file: device, A2 paper) as the default printer. Each job
# replaces BUILD_DIR/cups/out/job.ps; tests turn it into a PDF with gs.
# Start it before any Wine program that loads winspool: Wine reads the printer
# list once, when the first such process of a wineserver session starts.
# Usage: . scripts/cups.sh; cups_start BUILD_DIR; ...; cups_stop

cups_pid=
cups_private_root=

# The folder for the spooler's files. Its filters run as lp, which must reach
# every folder above the spool: a checkout inside a private folder (mode 700,
# as mktemp -d makes) is out of its reach, so the files then go to a folder of
# their own that lp can reach, linked from the build folder for its logs.
# Sets cups_dir.
cups_choose_root()
{
    local build=$1
    cups_dir="$build/cups"
    rm -rf "$cups_dir"
    if [ "$(id -u)" -ne 0 ] || runuser -u lp -- test -x "$build" 2>/dev/null; then
        return
    fi
    cups_private_root=$(mktemp -d /tmp/tavro-cups.XXXXXX)
    chmod 755 "$cups_private_root"
    ln -s "$cups_private_root" "$cups_dir"
    cups_dir=$cups_private_root
}

cups_start()
{
    local build root tries ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
    build=$(cd "${1:?build dir}" && pwd)
    if ! command -v cupsd >/dev/null || [ ! -f "$ppd" ]; then
        echo "cups: cupsd or the PDF printer description is missing (scripts/setup.sh installs them)" >&2
        return 1
    fi
    cups_choose_root "$build"
    root=$cups_dir
    mkdir -p "$root"/{etc/ppd,spool/tmp,state,cache,log,out}
    # Filters run as lp: they need the temporary folder and the output file.
    chmod 1777 "$root/spool/tmp" "$root/out"
    chmod 755 "$root" "$root/spool"
    cat >"$root/cupsd.conf" <<CONF
Listen $root/cups.sock
LogLevel warn
Browsing Off
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    cat >"$root/cups-files.conf" <<CONF
ServerRoot $root/etc
RequestRoot $root/spool
TempDir $root/spool/tmp
StateDir $root/state
CacheDir $root/cache
ErrorLog $root/log/error_log
AccessLog $root/log/access_log
PageLog $root/log/page_log
FileDevice Yes
User lp
Group lp
SystemGroup root
CONF
    cupsd -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" >"$root/log/cupsd.out" 2>&1 &
    cups_pid=$!
    export CUPS_SERVER="$root/cups.sock"
    for tries in $(seq 1 100); do
        lpstat -r >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! lpstat -r >/dev/null 2>&1; then
        echo "cups: cupsd did not start (see $root/log)" >&2
        cups_stop
        return 1
    fi
    # A freshly started cupsd may answer before it takes administration
    # requests (seen once on a clean clone): try the queue a few times. lpadmin
    # warns that printer descriptions are deprecated; its last words are kept
    # for the error message only.
    for tries in $(seq 1 10); do
        if lpadmin -p TavroPDF -E -v "file:$root/out/job.ps" -P "$ppd" -o PageSize=A2 2>"$root/log/lpadmin.err" &&
            lpadmin -d TavroPDF 2>>"$root/log/lpadmin.err"; then
            break
        fi
        sleep 0.5
    done
    if ! lpstat -d 2>/dev/null | grep -q TavroPDF; then
        echo "cups: cannot create the queue: $(tail -n 2 "$root/log/lpadmin.err" | tr '\n' ' ')" >&2
        cups_stop
        return 1
    fi
    export TAVRO_PRINT_OUTPUT="$root/out/job.ps"
}

cups_stop()
{
    if [ -n "$cups_pid" ]; then
        kill "$cups_pid" 2>/dev/null || true
        wait "$cups_pid" 2>/dev/null || true
        cups_pid=
    fi
    if [ -n "$cups_private_root" ]; then
        rm -rf "$cups_private_root"
        cups_private_root=
    fi
}
