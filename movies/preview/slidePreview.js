// The transition preview movie: waits for toAs(first, second, effectId) and then
// plays that effect between the two pictures over and over.
startMovie({
    name: 'slidePreview',
    width: 480,
    height: 360,
    stageColour: '#000',
    photoBackground: '#000',
    transitionTime: 1.2,
    emptyText: '',
    noConfigText: '',
    layout: function (w, h) {
        return { photo: { x: 0, y: 0, w: w, h: h }, thumbs: null };
    },
});
