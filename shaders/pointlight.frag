#version 120
varying vec3 normal;
varying vec3 eyePos;

// GL's default light model: the viewer sits at infinity along +z in eye space.
const vec3 kViewer = vec3(0.0, 0.0, 1.0);

void main() {
    vec3 n = normalize(normal);
    vec3 toLight = gl_LightSource[0].position.xyz - eyePos;
    float dist = length(toLight);
    toLight /= dist;
    float attenuation = 1.0 / (gl_LightSource[0].constantAttenuation +
                               dist * (gl_LightSource[0].linearAttenuation +
                                       dist * gl_LightSource[0].quadraticAttenuation));
    float nDotL = max(dot(n, toLight), 0.0);
    vec3 color = gl_FrontLightProduct[0].ambient.rgb + gl_FrontLightProduct[0].diffuse.rgb * nDotL;
    if (nDotL > 0.0) {
        vec3 halfway = normalize(toLight + kViewer);
        color += gl_FrontLightProduct[0].specular.rgb *
                 pow(max(dot(n, halfway), 1e-4), gl_FrontMaterial.shininess);
    }
    gl_FragColor = vec4(gl_FrontLightModelProduct.sceneColor.rgb + color * attenuation,
                        gl_FrontMaterial.diffuse.a);
}
