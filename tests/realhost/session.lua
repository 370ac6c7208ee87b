-- Runs one job of the real-host checks in a headless Ardour session (ardour7-lua).
--
-- Usage: ardour7-lua session.lua JOB.lua
-- JOB.lua returns a table written by realhost.py (see write_job there). This script only
-- drives Ardour; all judging happens in realhost.py, which reads the "REALHOST" lines printed
-- here (tab-separated) and measures the files written.
--
-- The track: test sine source, recorder, plug-in under test, recorder.
-- mode "create": new session on the Dummy backend, the renders in order (each after its
-- parameters are set and the process thread has run), then the state parameters set, one more
-- wait for the process thread, the values read back and the session saved.
-- mode "reload": load that session, read the parameter values back, run the renders again.

local job = dofile (arg[1])
local TRACK = "probe"
local CAPTURE = "Orvane Test Capture"
-- Positions on the track's processor list (plug-in inserts only).
local SOURCE_AT, PRE_AT, PLUGIN_AT, POST_AT = 0, 1, 2, 3

local function emit (...)
	print (table.concat ({ "REALHOST", ... }, "\t"))
end

local function number (v)
	return string.format ("%.9g", v)
end

-- Plug-in parameters are addressed by their label, or by "#N" for Ardour's parameter index N.
local function find_parameter (plugin, key)
	local wanted = key:match ("^#(%d+)$")
	if wanted then
		local i = tonumber (wanted)
		if i < plugin:parameter_count () and plugin:parameter_is_control (i) and plugin:parameter_is_input (i) then
			return i
		end
		error ("no input parameter with index " .. key, 0)
	end
	local found = nil
	for i = 0, plugin:parameter_count () - 1 do
		if plugin:parameter_is_control (i) and plugin:parameter_is_input (i) and plugin:parameter_label (i) == key then
			if found then
				error ("two parameters are labelled '" .. key .. "'; address it as #N", 0)
			end
			found = i
		end
	end
	if not found then
		error ("the plug-in has no input parameter labelled '" .. key .. "'", 0)
	end
	return found
end

local function descriptor (plugin, index)
	local _, refs = plugin:get_parameter_descriptor (index, ARDOUR.ParameterDescriptor ())
	return refs[2]
end

local function control (insert, index)
	local ac = insert:to_automatable ():automation_control (
		Evoral.Parameter (ARDOUR.AutomationType.PluginAutomation, 0, index), false)
	if ac:isnil () then
		error ("Ardour has no control for parameter #" .. index, 0)
	end
	return ac
end

-- Values are in the units Ardour shows for the format: plain for VST 3, normalised for VST 2.4.
-- A value outside the parameter's range is refused here rather than clamped by the host, so a
-- plain value passed to a VST 2.4 plug-in is a clear failure.
local function set_parameter (insert, key, value)
	local plugin = insert:plugin (0)
	local index = find_parameter (plugin, key)
	local d = descriptor (plugin, index)
	local slack = 1e-6 * math.max (1, math.abs (d.upper - d.lower))
	if value < d.lower - slack or value > d.upper + slack then
		error (string.format ("'%s' = %s is outside the parameter's range [%s, %s]",
			key, number (value), number (d.lower), number (d.upper)), 0)
	end
	control (insert, index):set_value (value, PBD.GroupControlDisposition.NoGroup)
end

-- Presets as Ardour lists them: a VST 2.4 plug-in's programs, a VST 3 plug-in's program list
-- ("factory presets"), user presets.
local function load_preset (insert, label)
	local plugin = insert:plugin (0)
	local preset = plugin:preset_by_label (label) or plugin:preset_by_uri (label)
	if not preset then
		error ("the plug-in has no preset labelled '" .. label .. "'", 0)
	end
	if not plugin:load_preset (preset) then
		error ("Ardour could not load preset '" .. label .. "'", 0)
	end
end

local function list_presets (insert)
	for preset in insert:plugin (0):get_info ():get_presets (false):iter () do
		emit ("preset", preset.label, preset.uri)
	end
end

local function read_parameter (insert, key)
	local plugin = insert:plugin (0)
	local index = find_parameter (plugin, key)
	local d = descriptor (plugin, index)
	emit ("param", key, number (control (insert, index):get_value ()), number (d.upper - d.lower))
end

local function list_parameters (insert)
	local plugin = insert:plugin (0)
	for i = 0, plugin:parameter_count () - 1 do
		if plugin:parameter_is_control (i) and plugin:parameter_is_input (i) then
			local d = descriptor (plugin, i)
			emit ("paramdesc", "#" .. i, plugin:parameter_label (i), number (d.lower), number (d.upper),
				number (d.normal), number (control (insert, i):get_value ()))
		end
	end
end

-- Parameter changes reach a VST 3 processor only through the process thread; states saved or
-- audio exported before a few cycles have run would miss them.
local function wait_for_process_thread ()
	if not ARDOUR.LuaAPI.wait_for_process_callback (job.settle_cycles, 10000) then
		error ("the engine ran no process cycle within 10 s", 0)
	end
end

local function processor_at (route, index, name)
	local p = route:nth_plugin (index)
	if p:isnil () or (name and p:display_name () ~= name) then
		error ("the track's processor " .. index .. " is not '" .. (name or "the plug-in") .. "'", 0)
	end
	return p
end

local function source_on (route)
	return processor_at (route, SOURCE_AT, job.source)
end

local function plugin_on (route)
	return processor_at (route, PLUGIN_AT):to_insert ()
end

local function report_engine ()
	emit ("engine", AudioEngine:current_backend_name (), number (Session:nominal_sample_rate ()))
end

local function report_plugin (insert)
	local plugin = insert:plugin (0)
	emit ("plugin", plugin:name (), plugin:get_info ().path)
end

local function add_plugin (route)
	local p = ARDOUR.LuaAPI.new_plugin (Session, job.plugin.name, ARDOUR.PluginType[job.plugin.type], "")
	if p:isnil () then
		error ("Ardour could not instantiate " .. job.plugin.type .. " plug-in '" .. job.plugin.name .. "'", 0)
	end
	if route:add_processor_by_index (p, PLUGIN_AT, nil, true) ~= 0 then
		error ("Ardour refused to insert the plug-in (no usable I/O configuration?)", 0)
	end
	local insert = plugin_on (route)
	report_plugin (insert)
	return insert
end

-- Export of the master bus with Session:simple_export(): the way a user renders. Ardour 7.3
-- corrupts its heap now and then at the end of such an export when run headless, so the
-- driver retries a crashed export job.
local function export (r)
	local folder = job.export_dir .. "/" .. r.id
	local se = Session:simple_export ()
	if not se:set_preset (job.export_preset) then
		error ("Ardour does not know the export preset " .. job.export_preset, 0)
	end
	se:set_folder (folder)
	se:set_name (r.id)
	se:set_range (0, r.samples)
	if not se:check_outputs () then
		error ("the master bus has no outputs to export", 0)
	end
	if not se:run_export () then
		error ("export of render '" .. r.id .. "' failed", 0)
	end
	emit ("export", r.id, folder)
end

-- Bounce of the track up to the plug-in (or up to the source, for the bare reference): the
-- same chain processed offline by the calling thread, one file per channel, without the
-- export graph and the freewheeling engine.
local function bounce (route, endpoint, r)
	local track = route:to_track ()
	if not track:bounceable (endpoint, true) then
		error ("Ardour cannot bounce the track through '" .. endpoint:display_name () .. "'", 0)
	end
	local region = track:bounce_range (0, r.samples, ARDOUR.InterThreadInfo (), endpoint, true, r.id, false)
	if region:isnil () then
		error ("bounce of render '" .. r.id .. "' failed", 0)
	end
	local n = region:to_audioregion ():n_channels ()
	for c = 0, n - 1 do
		emit ("file", r.id, tostring (c), region:source (c):to_filesource ():path ())
	end
end

-- Capture: the recorders before and after the plug-in record the same stretch of the running
-- engine (real time, transport stopped), so nothing is re-activated or exported; both
-- recordings are written as mono float WAV files, one per channel.
local CAPTURE_STATE, CAPTURE_WANTED, CAPTURE_START, CAPTURE_DONE, CAPTURE_CHANNELS, CAPTURE_HEADER = 0, 1, 2, 3, 4, 8
local CAPTURE_ARMED, CAPTURE_FULL = 1, 3

local function capture_memory (route, index)
	return processor_at (route, index, CAPTURE):to_insert ():plugin (0):to_luaproc ():shmem ()
end

local function write_wav (path, samples, n, rate)
	local f = assert (io.open (path, "wb"))
	f:write (string.pack ("<c4I4c4c4I4I2I2I4I4I2I2c4I4", "RIFF", 36 + 4 * n, "WAVE", "fmt ", 16,
		3, 1, rate, 4 * rate, 4, 32, "data", 4 * n))
	local chunk = {}
	for start = 1, n, 4096 do
		local count = math.min (4096, n - start + 1)
		for i = 1, count do
			chunk[i] = samples[start + i - 1]
		end
		f:write (string.pack ("<" .. string.rep ("f", count), table.unpack (chunk, 1, count)))
	end
	f:close ()
end

local function capture (route, r)
	local points = { pre = capture_memory (route, PRE_AT), post = capture_memory (route, POST_AT) }
	local start = AudioEngine:processed_samples () + 2 * Session:get_block_size ()
	for _, shm in pairs (points) do
		shm:atomic_set_int (CAPTURE_WANTED, r.samples)
		shm:atomic_set_int (CAPTURE_START, start)
		shm:atomic_set_int (CAPTURE_STATE, CAPTURE_ARMED)
	end
	local deadline = ARDOUR.LuaAPI.monotonic_time () + (r.samples / job.rate + 10) * 1e6
	for _, shm in pairs (points) do
		while shm:atomic_get_int (CAPTURE_STATE) ~= CAPTURE_FULL do
			if ARDOUR.LuaAPI.monotonic_time () > deadline then
				error ("capture of render '" .. r.id .. "' did not complete", 0)
			end
			ARDOUR.LuaAPI.usleep (5000)
		end
	end
	-- The render is what leaves the plug-in (or the source, for a bare render); what entered
	-- the plug-in during the same samples comes along as the render's input.
	local records = r.with_plugin and { pre = "input", post = "file" } or { pre = "file" }
	for which, record in pairs (records) do
		local shm = points[which]
		for c = 0, shm:atomic_get_int (CAPTURE_CHANNELS) - 1 do
			local path = string.format ("%s/%s-%s-%d.wav", job.export_dir, r.id, which, c)
			write_wav (path, shm:to_float (CAPTURE_HEADER + c * r.samples):array (), r.samples, job.rate)
			emit (record, r.id, tostring (c), path)
		end
	end
end

local function render (route, insert, r)
	local source = source_on (route)
	ARDOUR.LuaAPI.set_processor_param (source, 0, r.frequency)
	ARDOUR.LuaAPI.set_processor_param (source, 1, r.level)
	if r.preset then
		load_preset (insert, r.preset)
	end
	for _, kv in ipairs (r.params) do
		set_parameter (insert, kv[1], kv[2])
	end
	wait_for_process_thread ()
	if job.render_path == "capture" then
		capture (route, r)
	elseif job.render_path == "bounce" then
		bounce (route, r.with_plugin and insert or source, r)
	elseif r.with_plugin then
		export (r)
	else
		-- Ardour's bypass: a deactivated insert passes its input through unchanged.
		insert:deactivate ()
		wait_for_process_thread ()
		export (r)
		insert:activate ()
	end
end

local function create ()
	create_session (job.session_dir, job.session_name, job.rate)
	if not Session then
		error ("Ardour could not create the session", 0)
	end
	report_engine ()
	local tracks = Session:new_audio_track (job.channels, job.channels, nil, 1, TRACK,
		ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
	local route = tracks:front ()
	local source = ARDOUR.LuaAPI.new_luaproc (Session, job.source)
	if source:isnil () then
		error ("Ardour did not find the Lua source '" .. job.source .. "'", 0)
	end
	route:add_processor_by_index (source, SOURCE_AT, nil, true)
	for _, at in ipairs ({ PRE_AT, POST_AT - 1 }) do
		local recorder = ARDOUR.LuaAPI.new_luaproc (Session, CAPTURE)
		if recorder:isnil () then
			error ("Ardour did not find the Lua recorder '" .. CAPTURE .. "'", 0)
		end
		route:add_processor_by_index (recorder, at, nil, true)
	end

	local insert = add_plugin (route)
	processor_at (route, POST_AT, CAPTURE)
	for _, r in ipairs (job.renders) do
		render (route, insert, r)
	end

	if job.list_params then
		list_parameters (insert)
		list_presets (insert)
	end
	for _, kv in ipairs (job.state) do
		set_parameter (insert, kv[1], kv[2])
	end
	wait_for_process_thread ()
	for _, key in ipairs (job.read) do
		read_parameter (insert, key)
	end
	if Session:save_state ("", false, false, false, false, false) ~= 0 then
		error ("Ardour could not save the session", 0)
	end
	emit ("saved")
	close_session ()
end

local function reload ()
	load_session (job.session_dir, job.session_name)
	if not Session then
		error ("Ardour could not load the saved session", 0)
	end
	report_engine ()
	local route = Session:route_by_name (TRACK)
	if route:isnil () then
		error ("the reloaded session has no track '" .. TRACK .. "'", 0)
	end
	local insert = plugin_on (route)
	report_plugin (insert)
	for _, key in ipairs (job.read) do
		read_parameter (insert, key)
	end
	for _, r in ipairs (job.renders) do
		render (route, insert, r)
	end
	close_session ()
end

local ok, err = pcall (job.mode == "create" and create or reload)
if not ok then
	emit ("error", tostring (err))
	if Session then
		close_session ()
	end
	os.exit (1)
end
emit ("done")
