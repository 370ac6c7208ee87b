ardour {
	["type"]    = "dsp",
	name        = "Orvane Test Capture",
	category    = "Utility",
	license     = "MIT",
	author      = "Orvane",
	description = [[Passes audio through unchanged and, when the real-host session script asks,
records a stretch of it into shared memory. Two of these, one before and one after the plug-in
under test, armed with the same start time, record the same samples of the engine's timeline.]]
}

-- Shared memory, in 32-bit words: the header, then the recorded channels one after another,
-- each WANTED samples long. The session script writes WANTED and START, then sets STATE to
-- ARMED; the process thread takes it from there.
local STATE, WANTED, START, DONE, CHANNELS, HEADER = 0, 1, 2, 3, 4, 8
local ARMED, RECORDING, FULL = 1, 2, 3
local MAX_SECONDS, MAX_CHANNELS = 20, 2

function dsp_ioconfig ()
	return { [1] = { audio_in = -1, audio_out = -1 } }
end

function dsp_init (rate)
	local shm = self:shmem ()
	shm:allocate (HEADER + MAX_CHANNELS * MAX_SECONDS * rate)
	shm:clear ()
end

function dsp_run (ins, outs, n_samples)
	for c = 1, #outs do
		if c <= #ins and ins[c] ~= outs[c] then
			ARDOUR.DSP.copy_vector (outs[c], ins[c], n_samples)
		end
	end

	local shm = self:shmem ()
	local state = shm:atomic_get_int (STATE)
	if state == ARMED then
		-- Every processor of a cycle sees the same engine time, so all armed captures start
		-- on the same cycle.
		if Session:engine ():processed_samples () < shm:atomic_get_int (START) then
			return
		end
		shm:atomic_set_int (DONE, 0)
		shm:atomic_set_int (CHANNELS, math.min (#ins, MAX_CHANNELS))
		shm:atomic_set_int (STATE, RECORDING)
		state = RECORDING
	end
	if state ~= RECORDING then
		return
	end

	local wanted = shm:atomic_get_int (WANTED)
	local done = shm:atomic_get_int (DONE)
	local n = math.min (n_samples, wanted - done)
	for c = 1, shm:atomic_get_int (CHANNELS) do
		ARDOUR.DSP.copy_vector (shm:to_float (HEADER + (c - 1) * wanted + done), ins[c], n)
	end
	done = done + n
	shm:atomic_set_int (DONE, done)
	if done >= wanted then
		shm:atomic_set_int (STATE, FULL)
	end
end
