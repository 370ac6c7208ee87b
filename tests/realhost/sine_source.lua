ardour {
	["type"]    = "dsp",
	name        = "Orvane Test Sine",
	category    = "Utility",
	license     = "MIT",
	author      = "Orvane",
	description = [[Sine source for the real-host checks. Unlike Ardour's SinGen it applies a
level change at once (no glide, no snap at the end of one), so a check can change the level
between two exports without waiting for the source to settle.]]
}

function dsp_ioconfig ()
	return { [1] = { audio_in = -1, audio_out = -1 } }
end

function dsp_params ()
	return
	{
		{ ["type"] = "input", name = "Frequency", min = 1, max = 96000, default = 1000, unit = "Hz" },
		{ ["type"] = "input", name = "Level", min = -140, max = 6, default = -12, unit = "dB" },
	}
end

local rate = 48000
local phase = 0 -- in cycles, kept in [0, 1) so that precision does not drift over long runs
local block = {}

function dsp_init (sample_rate)
	rate = sample_rate
end

function dsp_run (ins, outs, n_samples)
	local ctrl = CtrlPorts:array ()
	local increment = ctrl[1] / rate
	local amplitude = 10 ^ (ctrl[2] / 20)
	for s = 1, n_samples do
		block[s] = amplitude * math.sin (2 * math.pi * phase)
		phase = phase + increment
		phase = phase - math.floor (phase)
	end
	for c = 1, #outs do
		outs[c]:set_table (block, n_samples)
	end
end
