-- A Lua DSP plug-in for Ardour that the host checks put after Zurizaz: it passes the audio
-- through and keeps, for each cycle, the peak of its first channel and the number of samples
-- that are not finite on any channel, which ardour_session.lua reads.
-- ardour-check.py installs it in Ardour's script folder of its private HOME.

ardour {
	["type"]    = "dsp",
	name        = "Zurizaz level probe",
	category    = "Utility",
	license     = "MIT",
	author      = "Zurizaz",
	description = [[Keeps each cycle's peak and count of non-finite samples for the host checks]]
}

local capacity = 8192

function dsp_ioconfig ()
	return { [1] = { audio_in = -1, audio_out = -1 } }
end

function dsp_init (rate)
	-- Slot 0 counts the cycles; then the cycles' peaks, then their counts of non-finite samples.
	self:shmem ():allocate (1 + 2 * capacity)
	self:shmem ():clear ()
end

function dsp_run (ins, outs, n_samples)
	local shmem = self:shmem ()
	local count = shmem:to_int (0):array ()
	local peaks = shmem:to_float (1):array ()
	local nonFinite = shmem:to_float (1 + capacity):array ()
	local i = count[1]

	if i < capacity then
		local bad = 0

		for c = 1, #ins do
			local a = ins[c]:array ()
			for s = 1, n_samples do
				local v = a[s]
				if v ~= v or v == math.huge or v == -math.huge then bad = bad + 1 end
			end
		end

		peaks[i + 1] = ARDOUR.DSP.compute_peak (ins[1], n_samples, 0)
		nonFinite[i + 1] = bad
		count[1] = i + 1
	end

	for c = 1, #outs do
		if ins[c] ~= outs[c] then
			ARDOUR.DSP.copy_vector (outs[c], ins[c], n_samples)
		end
	end
end
