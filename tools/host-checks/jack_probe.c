/* A JACK client that plays a steady sine into two ports and records two others.

     jack_probe NAME SECONDS OUT.raw FREQ AMPLITUDE SEND_L SEND_R RECORD_L RECORD_R [NAN_AT]

   It connects its outputs to SEND_L/SEND_R and RECORD_L/RECORD_R to its inputs, lets half a
   second pass, records SECONDS of audio and writes it to OUT.raw as interleaved 32-bit floats
   (left, right). The sine's phase is counted in whole samples from the first cycle, so the
   recording can be fitted against it. With NAN_AT, the one left sample sent NAN_AT seconds into
   the recording is a NaN. Exits 0 when it recorded everything, non-zero otherwise.

   The few JACK declarations it needs are written out here, so only libjack.so.0 is needed to
   build it, not the development headers. */

#include <errno.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef struct _jack_client jack_client_t;
typedef struct _jack_port jack_port_t;
typedef uint32_t jack_nframes_t;
typedef int (*JackProcessCallback) (jack_nframes_t, void*);

extern jack_client_t* jack_client_open (const char*, int, int*, ...);
extern int jack_client_close (jack_client_t*);
extern jack_port_t* jack_port_register (jack_client_t*, const char*, const char*, unsigned long, unsigned long);
extern int jack_set_process_callback (jack_client_t*, JackProcessCallback, void*);
extern int jack_activate (jack_client_t*);
extern int jack_deactivate (jack_client_t*);
extern int jack_connect (jack_client_t*, const char*, const char*);
extern const char* jack_port_name (const jack_port_t*);
extern void* jack_port_get_buffer (jack_port_t*, jack_nframes_t);
extern jack_nframes_t jack_get_sample_rate (jack_client_t*);

enum { JackNoStartServer = 0x01, JackPortIsInput = 0x1, JackPortIsOutput = 0x2 };
#define AUDIO_TYPE "32 bit float mono audio"

static jack_port_t* sendPorts[2];
static jack_port_t* recordPorts[2];
static volatile int recording = 0;
static float* recorded = NULL;
static volatile size_t recordedFrames = 0;
static size_t wantedFrames = 0;
static uint64_t sampleClock = 0;
static double phasePerSample = 0.0;
static float amplitude = 0.0f;
static size_t nanFrame = (size_t) -1;
static size_t sentWhileRecording = 0;

static int process (jack_nframes_t n, void* unused)
{
    (void) unused;
    float* outL = jack_port_get_buffer (sendPorts[0], n);
    float* outR = jack_port_get_buffer (sendPorts[1], n);
    const float* inL = jack_port_get_buffer (recordPorts[0], n);
    const float* inR = jack_port_get_buffer (recordPorts[1], n);

    for (jack_nframes_t i = 0; i < n; ++i)
    {
        const float s = amplitude * (float) sin (phasePerSample * (double) (sampleClock++ % 48000000));
        outL[i] = s;
        outR[i] = s;

        if (recording && sentWhileRecording++ == nanFrame)
            outL[i] = NAN;
    }

    if (recording)
        for (jack_nframes_t i = 0; i < n && recordedFrames < wantedFrames; ++i)
        {
            recorded[2 * recordedFrames] = inL[i];
            recorded[2 * recordedFrames + 1] = inR[i];
            recordedFrames = recordedFrames + 1;
        }

    return 0;
}

/* A connection made now or already there (the loop-back test names its own ports twice). */
static int connected (int result)
{
    return result == 0 || result == EEXIST;
}

int main (int argc, char** argv)
{
    if (argc != 10 && argc != 11)
    {
        fprintf (stderr, "usage: %s NAME SECONDS OUT.raw FREQ AMPLITUDE SEND_L SEND_R RECORD_L RECORD_R [NAN_AT]\n", argv[0]);
        return 2;
    }

    int status = 0;
    jack_client_t* client = jack_client_open (argv[1], JackNoStartServer, &status);

    if (client == NULL)
    {
        fprintf (stderr, "jack_probe: no JACK server (status %d)\n", status);
        return 3;
    }

    const double rate = jack_get_sample_rate (client);
    wantedFrames = (size_t) (atof (argv[2]) * rate);
    phasePerSample = 2.0 * M_PI * atof (argv[4]) / rate;
    amplitude = (float) atof (argv[5]);

    if (argc == 11)
        nanFrame = (size_t) (atof (argv[10]) * rate);
    recorded = calloc (2 * wantedFrames, sizeof (float));

    sendPorts[0] = jack_port_register (client, "send_L", AUDIO_TYPE, JackPortIsOutput, 0);
    sendPorts[1] = jack_port_register (client, "send_R", AUDIO_TYPE, JackPortIsOutput, 0);
    recordPorts[0] = jack_port_register (client, "record_L", AUDIO_TYPE, JackPortIsInput, 0);
    recordPorts[1] = jack_port_register (client, "record_R", AUDIO_TYPE, JackPortIsInput, 0);

    if (recorded == NULL || ! sendPorts[0] || ! sendPorts[1] || ! recordPorts[0] || ! recordPorts[1]
        || jack_set_process_callback (client, process, NULL) != 0 || jack_activate (client) != 0)
    {
        fprintf (stderr, "jack_probe: cannot set up the client\n");
        jack_client_close (client);
        return 3;
    }

    if (! connected (jack_connect (client, jack_port_name (sendPorts[0]), argv[6]))
        || ! connected (jack_connect (client, jack_port_name (sendPorts[1]), argv[7]))
        || ! connected (jack_connect (client, argv[8], jack_port_name (recordPorts[0])))
        || ! connected (jack_connect (client, argv[9], jack_port_name (recordPorts[1]))))
    {
        fprintf (stderr, "jack_probe: cannot connect to %s %s %s %s\n", argv[6], argv[7], argv[8], argv[9]);
        jack_deactivate (client);
        jack_client_close (client);
        return 3;
    }

    usleep (500000);
    recording = 1;

    // Bounded: twice the recording's length plus five seconds.
    for (int waited = 0; recordedFrames < wantedFrames && waited < (int) (2 * atof (argv[2]) * 100) + 500; ++waited)
        usleep (10000);

    jack_deactivate (client);
    jack_client_close (client);

    const size_t frames = recordedFrames;
    FILE* f = fopen (argv[3], "wb");

    if (f == NULL || fwrite (recorded, 2 * sizeof (float), frames, f) != frames)
    {
        fprintf (stderr, "jack_probe: cannot write %s\n", argv[3]);
        return 3;
    }

    fclose (f);
    free (recorded);
    printf ("jack_probe: recorded %zu of %zu frames at %.0f Hz\n", frames, wantedFrames, rate);
    return frames == wantedFrames ? 0 : 4;
}
