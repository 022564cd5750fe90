-- A Lua DSP plug-in for Ardour that the host checks put after Zurizaz: it passes the audio
-- through and keeps the peak of each cycle's first channel, which ardour_session.lua reads.
-- ardour-check.py installs it in Ardour's script folder of its private HOME.

ardour {
	["type"]    = "dsp",
	name        = "Zurizaz level probe",
	category    = "Utility",
	license     = "MIT",
	author      = "Zurizaz",
	description = [[Keeps the peak of each cycle's first channel for the host checks]]
}

local capacity = 8192

function dsp_ioconfig ()
	return { [1] = { audio_in = -1, audio_out = -1 } }
end

function dsp_init (rate)
	-- Slot 0 counts the cycles, the slots after it hold their peaks.
	self:shmem ():allocate (1 + capacity)
	self:shmem ():clear ()
end

function dsp_run (ins, outs, n_samples)
	local shmem = self:shmem ()
	local count = shmem:to_int (0):array ()
	local peaks = shmem:to_float (1):array ()
	local i = count[1]

	if i < capacity then
		peaks[i + 1] = ARDOUR.DSP.compute_peak (ins[1], n_samples, 0)
		count[1] = i + 1
	end

	for c = 1, #outs do
		if ins[c] ~= outs[c] then
			ARDOUR.DSP.copy_vector (outs[c], ins[c], n_samples)
		end
	end
end
