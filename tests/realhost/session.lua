-- Runs one job of the real-host checks in a headless Ardour session (ardour7-lua).
--
-- Usage: ardour7-lua session.lua JOB.lua
-- JOB.lua returns a table written by realhost.py (see write_job there). This script only
-- drives Ardour; all judging happens in realhost.py, which reads the "REALHOST" lines printed
-- here (tab-separated) and measures the exported files.
--
-- mode "create": new session on the Dummy backend, one track with the test sine source and the
-- plug-in after it, the renders in order (bounces or exports, each after its parameters are set
-- and the process thread has run), then the state parameters set, one more wait for the
-- process thread, the values read back and the session saved.
-- mode "reload": load that session, read the parameter values back, run the renders again.

local job = dofile (arg[1])
local TRACK = "probe"

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

local function source_on (route)
	local source = route:nth_plugin (0)
	if source:isnil () or source:display_name () ~= job.source then
		error ("the track's first processor is not the test source", 0)
	end
	return source
end

local function plugin_on (route)
	local p = route:nth_plugin (1)
	if p:isnil () then
		error ("the track has no plug-in after the source", 0)
	end
	return p:to_insert ()
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
	if route:add_processor_by_index (p, 1, nil, true) ~= 0 then
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

local function render (route, insert, r)
	local source = source_on (route)
	ARDOUR.LuaAPI.set_processor_param (source, 0, r.frequency)
	ARDOUR.LuaAPI.set_processor_param (source, 1, r.level)
	for _, kv in ipairs (r.params) do
		set_parameter (insert, kv[1], kv[2])
	end
	wait_for_process_thread ()
	if job.render_path == "bounce" then
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
	local tracks = Session:new_audio_track (job.channels, job.channels, nil, 1, TRACK,
		ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
	local route = tracks:front ()
	local source = ARDOUR.LuaAPI.new_luaproc (Session, job.source)
	if source:isnil () then
		error ("Ardour did not find the Lua source '" .. job.source .. "'", 0)
	end
	route:add_processor_by_index (source, 0, nil, true)

	local insert = add_plugin (route)
	for _, r in ipairs (job.renders) do
		render (route, insert, r)
	end

	if job.list_params then
		list_parameters (insert)
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
