-- A Lua DSP plug-in for Ardour that the host checks put before Zurizaz: it passes the audio
-- through, but makes the first sample of channel 1 in its 60th cycle (about 1.3 s after the
-- session starts at 48 kHz, 1024 frames a cycle) a NaN. ardour-check.py installs it in Ardour's
-- script folder of its private HOME.

ardour {
	["type"]    = "dsp",
	name        = "Zurizaz NaN source",
	category    = "Utility",
	license     = "MIT",
	author      = "Zurizaz",
	description = [[Sends one NaN sample for the host checks]]
}

local cycle = 0

function dsp_ioconfig ()
	return { [1] = { audio_in = -1, audio_out = -1 } }
end

function dsp_run (ins, outs, n_samples)
	for c = 1, #outs do
		if ins[c] ~= outs[c] then
			ARDOUR.DSP.copy_vector (outs[c], ins[c], n_samples)
		end
	end

	cycle = cycle + 1

	if cycle == 60 and n_samples > 0 then
		outs[1]:array ()[1] = 0 / 0
	end
end
