#!/bin/sh
# Synthesises the default music of each template with sox and encodes it as
# mono 64 kbit/s MP3 with lame. Outputs go into the templates' res/ folders and
# are committed; a build does not need these tools.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rate=22050

# sequence OUT VOICE NOTE_SECONDS NOTE... : one note after another ("-" rests).
sequence() {
  out=$1 voice=$2 len=$3
  shift 3
  chain=""
  for note in "$@"; do
    if [ "$note" = "-" ]; then
      part="synth $len sine 100 vol 0"
    else
      part="synth $len $voice $note fade 0.01 $len $(echo "$len * 0.6" | bc)"
    fi
    if [ -z "$chain" ]; then chain="$part"; else chain="$chain : $part"; fi
  done
  # shellcheck disable=SC2086
  sox -q -n -r $rate -c 1 "$out" $chain
}

# chords OUT VOICE CHORD_SECONDS "N N N" ... : sustained chords, mixed to mono.
chords() {
  out=$1 voice=$2 len=$3
  shift 3
  i=0
  list=""
  for chord in "$@"; do
    tones=""
    for n in $chord; do tones="$tones $voice $n"; done
    # shellcheck disable=SC2086
    sox -q -n -r $rate "$work/c$i.wav" synth $len $tones remix - fade 0.3 $len 0.6 vol 0.5
    list="$list $work/c$i.wav"
    i=$((i + 1))
  done
  # shellcheck disable=SC2086
  sox -q $list "$out"
}

# track NAME SECONDS TEMPO_EFFECTS: mixes melody.wav and pad.wav, repeats to
# length, adds room and fades, writes res/NAME.mp3 of the template folder.
finish() {
  folder=$1 name=$2 seconds=$3
  sox -q -m -v 0.9 "$work/melody.wav" -v 0.6 "$work/pad.wav" "$work/mix.wav"
  sox -q "$work/mix.wav" "$work/long.wav" repeat 8 trim 0 "$seconds" gain -8 reverb 35 50 60 \
    fade t 0.05 "$seconds" 1.5 norm -3 channels 1
  mkdir -p "$root/Sources/Templates/Previews/$folder/res"
  lame --quiet -m m -b 64 --resample 44.1 "$work/long.wav" "$root/Sources/Templates/Previews/$folder/res/$name.mp3"
}

# Classic: a calm piano-like arpeggio in C major.
sequence "$work/melody.wav" pluck 0.35 C4 E4 G4 C5 G4 E4 A3 C4 E4 A4 E4 C4 F3 A3 C4 F4 C4 A3 G3 B3 D4 G4 D4 B3
chords "$work/pad.wav" sine 2.1 "C3 G3 E4" "A2 E3 C4" "F2 C3 A3" "G2 D3 B3"
finish Classic classic 24

# Film strip: brighter and quicker, in G major.
sequence "$work/melody.wav" pluck 0.25 G4 B4 D5 B4 G4 D5 E5 D5 C5 E5 G5 E5 C5 A4 G4 A4 D4 F#4 A4 D5 A4 F#4 G4 -
chords "$work/pad.wav" triangle 1.5 "G2 D3 B3" "C3 G3 E4" "D3 A3 F#4" "G2 D3 B3"
finish FilmStrip filmstrip 24

# Desk: warm and slow, in A minor.
sequence "$work/melody.wav" pluck 0.5 A3 C4 E4 A4 - G4 E4 C4 D4 F4 A4 - E4 G#4 B4 E4
chords "$work/pad.wav" sine 2 "A2 E3 C4" "C3 G3 E4" "D3 A3 F4" "E3 B3 G#4"
finish Desk desk 24

# Magazine: sparse bell tones over a soft pad, in F major.
sequence "$work/melody.wav" sine 0.5 F5 - A5 C6 - A5 - G5 Bb5 - D6 - C6 - A5 -
chords "$work/pad.wav" sine 2 "F3 C4 A4" "Bb2 F3 D4" "D3 A3 F4" "C3 G3 E4"
finish Magazine magazine 24

# Cinema: slow strings-like chords with a low pulse, in D minor.
sequence "$work/melody.wav" triangle 0.5 D3 - D3 - A2 - A2 - Bb2 - Bb2 - C3 - C3 -
chords "$work/pad.wav" sawtooth 2 "D3 A3 F4" "A2 E3 C#4" "Bb2 F3 D4" "C3 G3 E4"
finish Cinema cinema 24
ls -l "$root"/Sources/Templates/Previews/*/res/
