#!/usr/bin/python3
"""Checks a plug-in in independent Linux hosts: Ardour 7, headless, and qtractor's VST 2.4 scanner.

Command line (see README.md in this folder for the whole story):

    realhost.py scan PLUGIN              Ardour's scanner must report "Found Plugin"
    realhost.py qtractor-scan PLUGIN.so  qtractor's scanner must describe the VST 2.4 library
    realhost.py params PLUGIN            list the parameters Ardour shows (labels, ranges)
    realhost.py check PLUGIN [options]   scan, render sines through it in a session, measure,
                                         save, reload and read the parameters back

PLUGIN is a VST 3 bundle (*.vst3) or a VST 2.4 library (*.so). Every run works in a temporary
folder with a fresh HOME that is removed afterwards; every external program runs under a timeout.
Exit status 0 means the check passed, 1 that it failed (the reason is printed), 2 a usage error.

Check scripts of other folders import this file (orvane_add_realhost_test(... SCRIPT ...)
puts it on PYTHONPATH) and use run_script, Workspace, scan_ardour, run_session and
measure_render; passthrough_gains.py here is an example.
"""

import argparse
import math
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import warnings
from dataclasses import dataclass, field

import numpy as np
import scipy.io.wavfile

HERE = os.path.dirname(os.path.abspath(__file__))
ARDOUR_LIB = "/usr/lib/ardour7"
ARDOUR_VST3_SCANNER = os.path.join(ARDOUR_LIB, "ardour-vst3-scanner")
ARDOUR_VST2_SCANNER = os.path.join(ARDOUR_LIB, "ardour-vst-scanner")
ARDOUR_LUA = "/usr/bin/ardour7-lua"
QTRACTOR_SCAN = "/usr/lib/x86_64-linux-gnu/qtractor/qtractor_plugin_scan"
SESSION_SCRIPT = os.path.join(HERE, "session.lua")
SOURCE_SCRIPT = os.path.join(HERE, "sine_source.lua")
CAPTURE_SCRIPT = os.path.join(HERE, "capture.lua")
CAPTURE_MAX_SECONDS = 20   # the recorder's shared memory (capture.lua)
SOURCE_NAME = "Orvane Test Sine"
EXPORT_TEMPLATES = os.path.join(HERE, "export")
EXPORT_PRESET = "b2d3f6a8-5a3c-4d1e-9f7b-3e8c1d2a4b02"

DEFAULT_TIMEOUT = 120.0
# Ardour trusts its scan cache only for plug-in files older than the cache entry.
BACKDATE = "2000-01-01 00:00:00"
SILENCE_DB = -300.0


class CheckFailed(Exception):
    """The plug-in or the host did not do what the check expects; the message says what."""


# ---------------------------------------------------------------------------------------------
# Plug-in files and the per-run workspace


def plugin_format(path):
    """'vst3' for a bundle, 'vst2' for a VST 2.4 library; anything else is refused."""
    stripped = path.rstrip("/")
    if stripped.endswith(".vst3"):
        if not os.path.isdir(stripped):
            raise CheckFailed(f"{path}: a VST 3 bundle must be a folder")
        return "vst3"
    if stripped.endswith(".so"):
        if not os.path.isfile(stripped):
            raise CheckFailed(f"{path}: no such VST 2.4 library")
        return "vst2"
    raise CheckFailed(f"{path}: neither a .vst3 bundle nor a VST 2.4 .so")


@dataclass
class StagedPlugin:
    """A copy of the plug-in under test, alone in a folder that the hosts are told to search."""
    original: str
    path: str
    folder: str
    format: str

    @property
    def ardour_type(self):
        return "VST3" if self.format == "vst3" else "LXVST"


class Workspace:
    """A temporary folder with a fresh HOME for one run; removed on exit unless kept."""

    def __init__(self, keep=False, timeout=DEFAULT_TIMEOUT, verbose=False):
        self.keep = keep
        self.timeout = timeout
        self.verbose = verbose
        self.root = None

    def __enter__(self):
        self.root = tempfile.mkdtemp(prefix="orvane-realhost-")
        self.home = self.path("home")
        self.config = os.path.join(self.home, ".config", "ardour7")
        os.makedirs(os.path.join(self.config, "export"))
        os.makedirs(os.path.join(self.config, "scripts"))
        for name in os.listdir(EXPORT_TEMPLATES):
            shutil.copy(os.path.join(EXPORT_TEMPLATES, name), os.path.join(self.config, "export"))
        for script in (SOURCE_SCRIPT, CAPTURE_SCRIPT):
            shutil.copy(script, os.path.join(self.config, "scripts"))
        return self

    def __exit__(self, *exc):
        if self.keep:
            print(f"workspace kept: {self.root}")
        else:
            shutil.rmtree(self.root, ignore_errors=True)
        return False

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def stage(self, plugin_path):
        """Copies the plug-in into the workspace and backdates every file of the copy.

        Backdating the build output itself would make the build system rebuild it each time;
        a copy in a folder of its own also keeps the hosts from finding any other plug-in.
        A VST 2.4 library that lives inside a VST 3 bundle (one binary, both faces) is staged
        with its whole bundle, so that it still finds the bundle's resources next to it."""
        fmt = plugin_format(plugin_path)
        source = os.path.abspath(plugin_path.rstrip("/"))
        bundle = enclosing_bundle(source) if fmt == "vst2" else source
        staged = self.path("plugins", fmt)
        os.makedirs(staged, exist_ok=True)
        if bundle:
            copy = os.path.join(staged, os.path.basename(bundle))
            shutil.copytree(bundle, copy, symlinks=False)
            target = copy if bundle == source else os.path.join(copy, os.path.relpath(source, bundle))
        else:
            copy = target = os.path.join(staged, os.path.basename(source))
            shutil.copy(source, target)
        self.run(["touch", "-d", BACKDATE, copy] + list(all_files(copy)))
        # Ardour looks for VST 2.4 libraries in the folders of LXVST_PATH: the library's own.
        folder = staged if fmt == "vst3" else os.path.dirname(target)
        return StagedPlugin(original=source, path=target, folder=folder, format=fmt)

    def environment(self, plugin=None, ardour=True):
        """The environment every host program gets: the fresh HOME, nothing inherited that
        points a host at other plug-ins or other configuration; Ardour's own libraries for
        Ardour's programs."""
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("XDG_", "ARDOUR_", "VST", "LXVST", "LADSPA", "LV2", "DSSI",
                                    "CLAP", "JACK", "DISPLAY", "WAYLAND"))}
        env.update(HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                   LANG="C.UTF-8", LC_ALL="C.UTF-8")
        env.pop("LD_LIBRARY_PATH", None)
        if ardour:
            env["LD_LIBRARY_PATH"] = ARDOUR_LIB
        empty = self.path("plugins", "none")
        os.makedirs(empty, exist_ok=True)
        env.update(VST3_PATH=empty, LXVST_PATH=empty, VST_PATH=empty)
        if plugin is not None:
            env["VST3_PATH" if plugin.format == "vst3" else "LXVST_PATH"] = plugin.folder
        return env

    def run(self, command, env=None, stdin=None, what=None):
        """Runs a program under the workspace's timeout; kills its whole process group on
        timeout (hosts start scanner children). Returns (exit code, combined output)."""
        what = what or os.path.basename(command[0])
        if not os.path.exists(command[0]) and shutil.which(command[0]) is None:
            raise CheckFailed(f"{command[0]} is not installed (tools/setup.sh installs it)")
        started = time.monotonic()
        process = subprocess.Popen(command, env=env, cwd=self.root, text=True,
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, start_new_session=True)
        try:
            output, _ = process.communicate(stdin, timeout=self.timeout)
        except subprocess.TimeoutExpired:
            kill_group(process)
            output, _ = process.communicate()
            raise CheckFailed(f"{what} did not finish within {self.timeout:g} s\n"
                              + tail(output))
        kill_group(process)   # anything it started and left behind
        if self.verbose:
            print(f"--- {what} ({time.monotonic() - started:.1f} s, exit {process.returncode})")
            print(output)
        return process.returncode, output


def kill_group(process):
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def enclosing_bundle(library):
    """X.vst3 for X.vst3/Contents/<architecture>/Y.so, else None."""
    architecture = os.path.dirname(library)
    contents = os.path.dirname(architecture)
    bundle = os.path.dirname(contents)
    if os.path.basename(contents) == "Contents" and bundle.endswith(".vst3"):
        return bundle
    return None


def all_files(path):
    for folder, dirs, files in os.walk(path):
        for name in dirs + files:
            yield os.path.join(folder, name)


def tail(text, lines=40):
    return "\n".join(text.rstrip().splitlines()[-lines:])


# ---------------------------------------------------------------------------------------------
# Scanners


def scan_ardour(ws, plugin):
    """Runs Ardour's out-of-process scanner on the staged plug-in; returns the name it found.

    The scanner exits 0 whether or not it could load the plug-in, so success is judged by its
    "Found Plugin" line alone."""
    scanner = ARDOUR_VST3_SCANNER if plugin.format == "vst3" else ARDOUR_VST2_SCANNER
    code, output = ws.run([scanner, "-v", "-f", plugin.path], env=ws.environment(plugin))
    names = [found_plugin_name(line) for line in output.splitlines() if "Found Plugin" in line]
    names = [n for n in names if n]
    if not names:
        raise CheckFailed(f"{os.path.basename(scanner)} did not report \"Found Plugin\" for "
                          f"{plugin.original} (exit {code})\n" + tail(output))
    if "Saved VST" not in output:
        raise CheckFailed(f"{os.path.basename(scanner)} found the plug-in but wrote no cache "
                          "entry, so a session would not see it\n" + tail(output))
    return names[0]


def found_plugin_name(line):
    """'[Info]: Found Plugin: ZamEQ2' (VST 3) or "... Found Plugin: '8vaj' Name" (VST 2.4)."""
    match = re.search(r"Found Plugin: (?:'.{4}' )?(.+)$", line)
    return match.group(1).strip() if match else None


@dataclass
class QtractorRecord:
    """One line of qtractor_plugin_scan: VST|name|ins:outs|midi ins:outs|params in:out|flags|path|index|id."""
    name: str
    audio: str
    midi: str
    controls: str
    flags: list
    path: str
    index: int
    unique_id: str


def scan_qtractor(ws, plugin):
    """Loads a VST 2.4 library in qtractor's scanner (stdin "VST:/path.so") and returns its records."""
    if plugin.format != "vst2":
        raise CheckFailed("qtractor's scanner is used here for VST 2.4 libraries only")
    code, output = ws.run([QTRACTOR_SCAN], env=ws.environment(plugin, ardour=False),
                          stdin=f"VST:{plugin.path}\n", what="qtractor_plugin_scan")
    records = []
    for line in output.splitlines():
        fields = line.split("|")
        if len(fields) == 9 and fields[0] == "VST":
            records.append(QtractorRecord(name=fields[1], audio=fields[2], midi=fields[3],
                                          controls=fields[4], flags=fields[5].split(","),
                                          path=fields[6], index=int(fields[7]),
                                          unique_id=fields[8]))
    if code != 0 or not records:
        raise CheckFailed(f"qtractor_plugin_scan did not describe {plugin.original} "
                          f"(exit {code})\n" + tail(output))
    return records


# ---------------------------------------------------------------------------------------------
# Sessions


@dataclass
class Render:
    """One export of the master bus: the source at a frequency and peak level in dBFS, the
    plug-in parameters set just before (in the host's units), with or without the plug-in."""
    id: str
    frequency: float = 1000.0
    level: float = -12.0
    seconds: float = 1.0
    params: list = field(default_factory=list)   # [(key, value)], key a label or "#N"
    with_plugin: bool = True
    preset: str = None                           # label of a preset loaded before the params


@dataclass
class SessionResult:
    plugin_name: str = ""
    plugin_path: str = ""
    backend: str = ""
    rate: float = 0.0
    files: dict = field(default_factory=dict)         # render id -> [wav path per channel]
                                                      # or [master export, all channels]
    inputs: dict = field(default_factory=dict)        # render id -> [wav path per channel] of
                                                      # what entered the plug-in (capture only)
    attempts: int = 1                                 # Ardour processes started for "create"
    saved: dict = field(default_factory=dict)         # key -> value read before saving
    reloaded: dict = field(default_factory=dict)      # key -> value read after reloading
    parameters: list = field(default_factory=list)    # ("#N", label, lower, upper, default, value)
    presets: list = field(default_factory=list)       # (label, uri)
    spans: dict = field(default_factory=dict)         # key -> upper - lower of its range


def lua_literal(value):
    """Python value -> Lua source: strings, numbers, booleans, lists and dicts of them."""
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, (int, float)):
        if not math.isfinite(value):
            raise CheckFailed(f"not a finite number: {value}")
        return repr(float(value)) if isinstance(value, float) else str(value)
    if isinstance(value, str):
        return '"' + "".join(c if c.isprintable() and c not in '"\\' else f"\\{ord(c):03d}"
                             for c in value) + '"'
    if isinstance(value, (list, tuple)):
        return "{" + ", ".join(lua_literal(v) for v in value) + "}"
    if isinstance(value, dict):
        return "{" + ", ".join(f"{k} = {lua_literal(v)}" for k, v in value.items()) + "}"
    raise CheckFailed(f"cannot pass {value!r} to Lua")


def write_job(ws, name, job):
    path = ws.path(f"{name}.job.lua")
    with open(path, "w") as f:
        f.write("return " + lua_literal(job) + "\n")
    return path


def render_table(render, rate):
    table = {"id": render.id, "frequency": float(render.frequency), "level": float(render.level),
             "samples": int(round(render.seconds * rate)), "with_plugin": render.with_plugin,
             "params": [[k, float(v)] for k, v in render.params]}
    if render.preset is not None:
        table["preset"] = render.preset
    return table


class HostCrashed(CheckFailed):
    """The host process died of a signal."""


def run_lua_job(ws, plugin, name, job):
    """Runs session.lua on one job; returns the REALHOST records it printed."""
    code, output = ws.run([ARDOUR_LUA, SESSION_SCRIPT, write_job(ws, name, job)],
                          env=ws.environment(plugin), what=f"ardour7-lua ({name})")
    if code < 0 or code >= 128:
        signal_number = -code if code < 0 else code - 128
        raise HostCrashed(f"Ardour session ({name}) died of signal {signal_number}\n"
                          + tail(output))
    records = [line.split("\t")[1:] for line in output.splitlines()
               if line.startswith("REALHOST\t")]
    errors = [r[1] for r in records if r[0] == "error"]
    if errors:
        raise CheckFailed(f"Ardour session ({name}): {errors[0]}\n" + tail(output))
    if code != 0 or ["done"] not in records:
        raise CheckFailed(f"Ardour session ({name}) did not finish (exit {code})\n" + tail(output))
    return records


def collect(records, result, values):
    for r in records:
        if r[0] == "plugin":
            result.plugin_name, result.plugin_path = r[1], r[2]
        elif r[0] == "engine":
            result.backend, result.rate = r[1], float(r[2])
        elif r[0] == "export":
            result.files[r[1]] = [exported_file(r[2])]
        elif r[0] == "file":
            result.files.setdefault(r[1], []).append(r[3])
        elif r[0] == "input":
            result.inputs.setdefault(r[1], []).append(r[3])
        elif r[0] == "param":
            values[r[1]] = float(r[2])
            result.spans[r[1]] = float(r[3])
        elif r[0] == "preset":
            result.presets.append((r[1], r[2]))
        elif r[0] == "paramdesc":
            result.parameters.append((r[1], r[2], *map(float, r[3:7])))


def exported_file(folder):
    files = sorted(f for f in os.listdir(folder) if f.endswith(".wav")) if os.path.isdir(folder) else []
    if len(files) != 1:
        raise CheckFailed(f"expected one exported WAV file in {folder}, found {files}")
    return os.path.join(folder, files[0])


RENDER_PATHS = ("capture", "export", "bounce")
EXPORT_ATTEMPTS = 5


def run_session(ws, plugin, name, renders=(), state=(), read=(), reload_renders=None,
                channels=1, rate=48000, list_params=False, settle_cycles=8,
                render_path="capture"):
    """Creates a session with the plug-in, runs the renders, sets the state parameters, saves;
    then, if anything is to be read back or rendered after reloading, loads it in a second
    Ardour process (so the state comes from disk, through a fresh instance of the plug-in).

    render_path says how a render is taken (README.md has the details):
    - "capture" records the signal before and after the plug-in from the running engine, in
      real time; nothing is re-activated or exported. The default.
    - "export" exports the master bus with Session:simple_export(), in freewheel. Ardour 7.3
      crashes in about one export in four (heap corruption in its export graph), so a crashed
      export run is started again, up to EXPORT_ATTEMPTS times.
    - "bounce" bounces the track up to the plug-in, offline. Ardour re-activates the plug-in
      first and then restores parameter values from the VST 3 controller, which headless
      Ardour never updates: parameters set on a plug-in with a separate controller are lost.
    Only an export run is ever repeated."""
    if render_path not in RENDER_PATHS:
        raise CheckFailed(f"render path must be one of {RENDER_PATHS}")
    longest = max([r.seconds for r in list(renders) + list(reload_renders or ())], default=0)
    if render_path == "capture" and longest > CAPTURE_MAX_SECONDS:
        raise CheckFailed(f"a captured render is at most {CAPTURE_MAX_SECONDS} s long")
    attempts = EXPORT_ATTEMPTS if render_path == "export" else 1
    for attempt in range(1, attempts + 1):
        try:
            result = run_session_once(ws, plugin, name, renders, state, read, reload_renders,
                                      channels, rate, list_params, settle_cycles, render_path)
            result.attempts = attempt
            return result
        except HostCrashed as crash:
            if attempt == attempts:
                raise
            print(f"attempt {attempt}: {str(crash).splitlines()[0]}; starting again")


def run_session_once(ws, plugin, name, renders, state, read, reload_renders, channels, rate,
                     list_params, settle_cycles, render_path):
    for folder in ("session", "exports"):
        shutil.rmtree(ws.path(folder), ignore_errors=True)
    os.makedirs(ws.path("exports"))
    common = {"render_path": render_path, "session_dir": ws.path("session"),
              "session_name": "check", "rate": int(rate), "channels": int(channels),
              "source": SOURCE_NAME,
              "plugin": {"name": name, "type": plugin.ardour_type},
              "export_preset": EXPORT_PRESET, "export_dir": ws.path("exports"),
              "settle_cycles": int(settle_cycles)}
    result = SessionResult()
    create = dict(common, mode="create", renders=[render_table(r, rate) for r in renders],
                  state=[[k, float(v)] for k, v in state], read=list(read),
                  list_params=list_params)
    collect(run_lua_job(ws, plugin, "create", create), result, result.saved)
    check_engine(result, rate)
    check_loaded_file(result, plugin)
    if read or reload_renders:
        for r in reload_renders or ():
            if not r.with_plugin or r.params:
                raise CheckFailed(f"render '{r.id}' after reloading must play the saved state")
        reload = dict(common, mode="reload", read=list(read),
                      renders=[render_table(r, rate) for r in reload_renders or ()])
        reloaded = SessionResult()
        collect(run_lua_job(ws, plugin, "reload", reload), reloaded, result.reloaded)
        check_engine(reloaded, rate)
        check_loaded_file(reloaded, plugin)
        result.files.update(reloaded.files)
        result.inputs.update(reloaded.inputs)
    return result


DUMMY_BACKEND = "Dummy"   # what AudioEngine:current_backend_name() calls "None (Dummy)"


def check_engine(result, rate):
    """Sessions run on Ardour's "None (Dummy)" backend (no audio device, no JACK) at the
    asked rate."""
    if result.backend != DUMMY_BACKEND or result.rate != rate:
        raise CheckFailed(f"the session ran on '{result.backend}' at {result.rate:g} Hz, "
                          f"not on '{DUMMY_BACKEND}' at {rate} Hz")


def check_loaded_file(result, plugin):
    """The session must have loaded our copy, not some other plug-in of the same name."""
    if not result.plugin_path:
        raise CheckFailed("the session did not report which plug-in it loaded")
    if not os.path.realpath(result.plugin_path).startswith(os.path.realpath(plugin.path)):
        raise CheckFailed(f"Ardour loaded {result.plugin_path}, not the plug-in under test "
                          f"({plugin.path})")


# ---------------------------------------------------------------------------------------------
# Measuring


@dataclass
class Levels:
    """Levels of one channel of the settled part of a render, in dB relative to full scale:
    rms, peak, and sine (the peak amplitude of the best-fitting sine at the render's frequency,
    which ignores harmonics and noise)."""
    rms: float
    peak: float
    sine: float

    def get(self, measure):
        return getattr(self, measure)


def to_db(amplitude):
    return 20.0 * math.log10(amplitude) if amplitude > 0 else SILENCE_DB


def whole_periods(n_samples, frequency, rate):
    """The longest leading stretch of n_samples that holds a whole number of periods, so that
    the RMS of a sine over it is exact; all of it if it holds less than one period."""
    periods = math.floor(n_samples * frequency / rate)
    return min(n_samples, int(round(periods * rate / frequency))) if periods >= 1 else n_samples


def sine_phasor(x, frequency, rate):
    """Complex amplitude a of the best-fitting a*e^(i w t) + conj + DC (least squares)."""
    t = np.arange(len(x)) / rate
    basis = np.column_stack([np.cos(2 * np.pi * frequency * t), np.sin(2 * np.pi * frequency * t),
                             np.ones_like(t)])
    coef, *_ = np.linalg.lstsq(basis, x, rcond=None)
    return complex(coef[0], -coef[1])


def sine_amplitude(x, frequency, rate):
    return abs(sine_phasor(x, frequency, rate))


def measure_signal(x, frequency, rate):
    x = np.asarray(x, dtype=np.float64)
    periodic = x[:whole_periods(len(x), frequency, rate)]
    return Levels(rms=to_db(float(np.sqrt(np.mean(periodic ** 2)))),
                  peak=to_db(float(np.max(np.abs(x)))),
                  sine=to_db(sine_amplitude(x, frequency, rate)))


def read_wav(path):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", scipy.io.wavfile.WavFileWarning)
        rate, data = scipy.io.wavfile.read(path)
    if data.ndim == 1:
        data = data[:, None]
    if data.dtype.kind == "i":
        data = data / float(-np.iinfo(data.dtype).min)
    return rate, data.astype(np.float64)


def read_render(paths, channels):
    """(rate, samples x channels) of a render: one mono bounce file per channel, or a master
    export of which the first `channels` channels are the track's (a mono track feeds only
    the master's left channel)."""
    loaded = [read_wav(p) for p in paths]
    rates = {rate for rate, _ in loaded}
    if len(rates) != 1:
        raise CheckFailed(f"render files at different rates: {paths}")
    data = np.hstack([d for _, d in loaded])
    if data.shape[1] < channels:
        raise CheckFailed(f"render {paths} has {data.shape[1]} channels, expected {channels}")
    return rates.pop(), data[:, :channels]


@dataclass
class Transfer:
    """What the plug-in did to the sine, per channel: gain in dB and phase shift in degrees
    (-180, 180], from the fitted sines of its output and its input."""
    gain_db: float
    phase_deg: float


def measure_transfer(output_paths, input_paths, frequency, channels, settle=0.25):
    """Transfer of a captured render: output (SessionResult.files) against what entered the
    plug-in during the same samples (SessionResult.inputs). A mono input feeding a
    multi-channel output is compared with every output channel."""
    rate, out = read_render(output_paths, channels)
    _, into = read_render(input_paths, len(input_paths))   # captures: one file per channel
    start = int(round(settle * rate))
    result = []
    for c in range(channels):
        a = sine_phasor(out[start:, c], frequency, rate)
        b = sine_phasor(into[start:, min(c, into.shape[1] - 1)], frequency, rate)
        if b == 0:
            raise CheckFailed("nothing entered the plug-in")
        ratio = a / b
        result.append(Transfer(to_db(abs(ratio)), math.degrees(math.atan2(ratio.imag, ratio.real))))
    return result


def measure_render(paths, frequency, channels, settle=0.25):
    """Levels per channel of a render, skipping its first `settle` seconds (where the plug-in's
    own smoothing, attack or latency may still show)."""
    rate, data = read_render(paths, channels)
    start = int(round(settle * rate))
    if start >= len(data) - rate // 100:
        raise CheckFailed(f"{paths}: {len(data)} samples leave nothing after {settle} s of settling")
    return [measure_signal(data[start:, c], frequency, rate) for c in range(channels)]


# ---------------------------------------------------------------------------------------------
# The command line


def parameter_setting(text):
    """'Label=value' or '#N=value' -> (key, value); split at the last '=' (labels may hold one)."""
    key, sep, value = text.rpartition("=")
    if not sep or not key:
        raise argparse.ArgumentTypeError(f"expected NAME=VALUE, got '{text}'")
    try:
        return key, float(value)
    except ValueError:
        raise argparse.ArgumentTypeError(f"'{value}' is not a number (in '{text}')")


def frequency_gain(text):
    """'1000=6' -> (1000.0, 6.0)."""
    frequency, sep, gain = text.partition("=")
    try:
        if sep and float(frequency) > 0:
            return float(frequency), float(gain)
    except ValueError:
        pass
    raise argparse.ArgumentTypeError(f"expected HZ=DB, got '{text}'")


def add_common(p):
    p.add_argument("plugin", help="a .vst3 bundle or a VST 2.4 .so")
    p.add_argument("--timeout", type=float, default=DEFAULT_TIMEOUT,
                   help="seconds allowed for each host program (default %(default)g)")
    p.add_argument("--keep", action="store_true", help="keep the temporary folder")
    p.add_argument("--verbose", action="store_true", help="print the hosts' output")


def argument_parser():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    sub = parser.add_subparsers(dest="command", required=True)
    add_common(sub.add_parser("scan", help="Ardour's scanner must find the plug-in"))

    q = sub.add_parser("qtractor-scan", help="qtractor's scanner must load the VST 2.4 library")
    add_common(q)
    q.add_argument("--expect-name", help="the effect name qtractor must report")
    q.add_argument("--expect-audio", help="audio inputs:outputs, e.g. 2:2")
    q.add_argument("--expect-params", type=int, help="number of parameters")

    p = sub.add_parser("params", help="list the parameters as Ardour shows them")
    add_common(p)
    p.add_argument("--channels", type=int, choices=(1, 2), default=1)

    c = sub.add_parser("check", help="scan, render, measure, save, reload, read back")
    add_common(c)
    c.add_argument("--name", help="plug-in name in Ardour (default: what the scanner found)")
    c.add_argument("--channels", type=int, choices=(1, 2), default=1, help="track width")
    c.add_argument("--rate", type=int, default=48000, help="session sample rate")
    c.add_argument("--frequency", type=float, default=1000.0, help="sine frequency in Hz")
    c.add_argument("--level", type=float, default=-12.0, help="sine peak level in dBFS")
    c.add_argument("--seconds", type=float, default=1.0, help="length of each render")
    c.add_argument("--render", choices=RENDER_PATHS, default="capture",
                   help="capture before and after the plug-in in real time (default), export "
                   "the master bus with Session:simple_export(), or bounce the track")
    c.add_argument("--settle", type=float, default=0.25,
                   help="seconds at the start of each render left out of the measurement")
    c.add_argument("--set", type=parameter_setting, action="append", default=[],
                   metavar="NAME=VALUE", help="parameter for the measured render (VST 3 plain, "
                   "VST 2.4 normalised); NAME is the label or #N")
    c.add_argument("--preset", metavar="LABEL",
                   help="preset loaded before the --set parameters of the measured render")
    c.add_argument("--reference", choices=("bare", "neutral"), default="bare",
                   help="what the measured render is compared with: the track without the "
                   "plug-in, or with it at the --neutral settings")
    c.add_argument("--neutral", type=parameter_setting, action="append", default=[],
                   metavar="NAME=VALUE", help="parameter for the neutral reference render")
    c.add_argument("--measure", choices=("rms", "peak", "sine"), default="rms",
                   help="which level the expectations apply to")
    c.add_argument("--expect-gain", type=float, metavar="DB",
                   help="measured render minus reference, per channel")
    c.add_argument("--expect-gain-at", type=frequency_gain, action="append", default=[],
                   metavar="HZ=DB", help="gain of a sine at HZ through the --set parameters, "
                   "against its reference; repeat for a response")
    c.add_argument("--expect-level", type=float, metavar="DBFS",
                   help="absolute level of the measured render, per channel")
    c.add_argument("--tolerance", type=float, default=0.1, help="dB (default %(default)g)")
    c.add_argument("--state", type=parameter_setting, action="append", default=[],
                   metavar="NAME=VALUE", help="set before saving; must read back after reloading")
    c.add_argument("--state-tolerance", type=float,
                   help="allowed difference when reading back (default 1e-5 of the range)")
    c.add_argument("--reload-render", action="store_true",
                   help="render before saving and after reloading; the levels must agree")
    return parser


def print_levels(label, levels, measure):
    text = "  ".join(f"ch{c} {lv.get(measure):9.4f}" for c, lv in enumerate(levels))
    print(f"{label:<20} {measure} dBFS: {text}")


def expect_close(what, measured, expected, tolerance):
    ok = abs(measured - expected) <= tolerance
    print(f"{what}: {measured:.4f} (expected {expected:g} +- {tolerance:g}) "
          f"{'ok' if ok else 'FAILED'}")
    return ok


def command_scan(args, ws):
    plugin = ws.stage(args.plugin)
    print(f"Found Plugin: {scan_ardour(ws, plugin)}")
    return True


def command_qtractor_scan(args, ws):
    plugin = ws.stage(args.plugin)
    ok = True
    for r in scan_qtractor(ws, plugin):
        print(f"qtractor: '{r.name}' audio {r.audio} midi {r.midi} params {r.controls} "
              f"flags {','.join(r.flags)} id {r.unique_id}")
        for what, got, want in (("name", r.name, args.expect_name),
                                ("audio", r.audio, args.expect_audio),
                                ("params", int(r.controls.split(":")[0]), args.expect_params)):
            if want is not None and got != want:
                print(f"qtractor reports {what} {got!r}, expected {want!r} FAILED")
                ok = False
    return ok


def command_params(args, ws):
    plugin = ws.stage(args.plugin)
    name = scan_ardour(ws, plugin)
    result = run_session(ws, plugin, name, channels=args.channels, list_params=True)
    print(f"{name} ({plugin.ardour_type}, values "
          f"{'plain' if plugin.format == 'vst3' else 'normalised'}):")
    for key, label, lower, upper, default, value in result.parameters:
        print(f"  {key:>5}  {label!r:<28} [{lower:g}, {upper:g}] default {default:g} now {value:g}")
    for label, uri in result.presets:
        print(f"  preset {label!r} ({uri})")
    return True


def gain_cases(args):
    """(render id, frequency, expected gain) of every gain expectation of a check."""
    cases = [(f"at{f:g}Hz", f, db) for f, db in args.expect_gain_at]
    if args.expect_gain is not None:
        cases.insert(0, ("measured", args.frequency, args.expect_gain))
    return cases


def command_check(args, ws):
    plugin = ws.stage(args.plugin)
    found = scan_ardour(ws, plugin)
    print(f"Found Plugin: {found}")
    name = args.name or found

    # A capture brings what entered the plug-in along: that is the bare reference.
    separate_reference = args.reference == "neutral" or args.render != "capture"
    renders = []
    for rid, frequency, _ in gain_cases(args):
        if separate_reference:
            renders.append(Render(f"{rid}.reference", frequency, args.level, args.seconds,
                                  params=args.neutral, with_plugin=args.reference == "neutral"))
    if (args.expect_gain is not None or args.expect_level is not None or args.set
            or args.preset is not None):
        renders.append(Render("measured", args.frequency, args.level, args.seconds,
                              params=args.set, preset=args.preset))
    for rid, frequency, _ in gain_cases(args):
        if rid != "measured":
            renders.append(Render(rid, frequency, args.level, args.seconds, params=args.set,
                                  preset=args.preset))
    reload_renders = []
    state = list(args.state)
    if args.reload_render:
        # The last render before saving plays the state that is saved; after reloading the
        # same render must come out at the same level.
        reload_renders.append(Render("reloaded", args.frequency, args.level, args.seconds))
        renders.append(Render("saved", args.frequency, args.level, args.seconds, params=state))
        state = []
    keys = [k for k, _ in args.state]
    result = run_session(ws, plugin, name, renders, state=state, read=keys,
                         reload_renders=reload_renders, channels=args.channels, rate=args.rate,
                         render_path=args.render)

    frequency_of = {r.id: r.frequency for r in renders + reload_renders}
    levels = {rid: measure_render(paths, frequency_of[rid], args.channels, args.settle)
              for rid, paths in result.files.items()}
    if not separate_reference:
        for rid, frequency, _ in gain_cases(args):
            levels[f"{rid}.reference"] = measure_render(result.inputs[rid], frequency,
                                                        args.channels, args.settle)
    for rid in sorted(levels, key=lambda rid: [r.id for r in renders + reload_renders].index(
            rid.removesuffix(".reference"))):
        print_levels(rid, levels[rid], args.measure)

    ok = True
    for c in range(args.channels):
        for rid, frequency, expected in gain_cases(args):
            gain = (levels[rid][c].get(args.measure)
                    - levels[f"{rid}.reference"][c].get(args.measure))
            ok &= expect_close(f"ch{c} gain at {frequency:g} Hz, dB", gain, expected,
                               args.tolerance)
        if args.expect_level is not None:
            ok &= expect_close(f"ch{c} level dBFS", levels["measured"][c].get(args.measure),
                               args.expect_level, args.tolerance)
        if args.reload_render:
            ok &= expect_close(f"ch{c} reloaded dB", levels["reloaded"][c].get(args.measure),
                               levels["saved"][c].get(args.measure), args.tolerance)
    ok &= check_state(args, result)
    return ok


def check_state(args, result):
    ok = True
    for key, value in args.state:
        before, after = result.saved.get(key), result.reloaded.get(key)
        tolerance = args.state_tolerance
        if tolerance is None:
            tolerance = max(1e-6, 1e-5 * result.spans.get(key, 1.0))
        good = (before is not None and after is not None and abs(before - value) <= tolerance
                and abs(after - value) <= tolerance)
        print(f"state '{key}': set {value:g}, before saving {before}, after reloading {after} "
              f"{'ok' if good else 'FAILED'}")
        ok &= good
    return ok


def run_script(check, argv=None):
    """Entry point for a check script of another folder: `script.py PLUGIN [--keep] [--verbose]`.

    Stages and scans the plug-in, then calls check(ws, plugin, name), which returns True when
    the check passed (or raises CheckFailed). Returns the exit status for sys.exit."""
    parser = argparse.ArgumentParser()
    add_common(parser)
    args = parser.parse_args(argv)
    try:
        with Workspace(keep=args.keep, timeout=args.timeout, verbose=args.verbose) as ws:
            plugin = ws.stage(args.plugin)
            name = scan_ardour(ws, plugin)
            print(f"Found Plugin: {name}")
            ok = check(ws, plugin, name)
    except CheckFailed as failure:
        print(f"FAILED: {failure}")
        return 1
    print("PASSED" if ok else "FAILED")
    return 0 if ok else 1


COMMANDS = {"scan": command_scan, "qtractor-scan": command_qtractor_scan,
            "params": command_params, "check": command_check}


def main(argv=None):
    args = argument_parser().parse_args(argv)
    try:
        with Workspace(keep=args.keep, timeout=args.timeout, verbose=args.verbose) as ws:
            ok = COMMANDS[args.command](args, ws)
    except CheckFailed as failure:
        print(f"FAILED: {failure}")
        return 1
    print("PASSED" if ok else "FAILED")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
